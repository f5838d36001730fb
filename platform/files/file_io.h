#pragma once

#include <string>

// Whole-file reading and writing, and the numbered text files of the programs' language
// ("Open … For Output As #1", "Print #1", "Line Input #1", "Close #1").
namespace files {

// The file's bytes; found without regard to case. Missing: 53; not allowed: 70; other failures: 75.
// Only a regular file is read: a folder, a named pipe or a device raises 75 with a reason that says
// so (reading one could wait for ever or never end). A file of more than maxBytes raises 7 with
// its size in the reason.
std::string readFile(const std::string& path, size_t maxBytes = static_cast<size_t>(-1));

// Writes the bytes beside the target and then puts them in its place, so readers see the old file
// or the new one, never a half-written one. Folder missing: 76; not allowed: 70; disk full: 61;
// other failures: 75.
void replaceFile(const std::string& path, const std::string& bytes);

// vb::Error number for a failed system call's errno (53, 70, 61, 57 or 75).
int errorNumberFor(int errnoValue);

// A file written beside its target under a temporary name and put in the target's place only once
// it is whole and on the disk: readers see the old file or the new one, and a write that fails
// (a full disk, an I/O error) leaves no file and no truncated one under the target's name. What
// is not committed goes with the object. Failures raise the numbers replaceFile names; the
// description ends with the target's name.
class FileReplacement {
public:
    explicit FileReplacement(const std::string& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    void write(const void* data, size_t size);
    // The target's permissions (or the usual ones for a new file), the bytes on the disk, then
    // the new file under the target's name.
    void commit();

private:
    [[noreturn]] void fail(int errnoValue);

    std::string m_shown;
    std::string m_real;
    std::string m_temp;
    int m_fd = -1;
};

enum class OpenMode { Input, Output, Append };

// Opens a file under a number 1..511. Output replaces the file at once, as the language does.
// Number in use: 55; bad number: 52; Input of a missing file: 53; folder missing: 76.
void Open(const std::string& path, OpenMode mode, int fileNumber);

// Print #n: the text followed by CR LF, or without line end when `endLine` is false (Print #n, x;).
// Text goes out as it is (UTF-8). A number not open for output: 52.
void Print(int fileNumber, const std::string& text = "", bool endLine = true);

// Line Input #n: the next line's bytes without its line end (CR LF, LF or a lone CR). Reading past
// the end: 62. The bytes are not converted; old code-page files go through vb::toUtf8.
std::string LineInput(int fileNumber);

// EOF(n): nothing more to read. A number not open: 52.
bool Eof(int fileNumber);

// Close #n; closing a number that is not open does nothing.
void Close(int fileNumber);
void CloseAll();

// FreeFile: the lowest number not in use.
int FreeFile();

}  // namespace files
