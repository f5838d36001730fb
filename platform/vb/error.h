#pragma once

#include <stdexcept>
#include <string>

namespace vb {

// A run-time error as the programs trap it: the number decides what a handler does,
// the description is what the person reads in the error box.
class Error : public std::runtime_error {
public:
    Error(int number, std::string description);
    explicit Error(int number);  // the standard German description of that number

    int number() const noexcept { return m_number; }
    const std::string& description() const noexcept { return m_description; }

private:
    int m_number;
    std::string m_description;
};

// German description of a run-time or engine error number; a generic text for unknown numbers.
std::string errorDescription(int number);

// Numbers the programs test for by name.
namespace err {
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int FileNotFound = 53;
inline constexpr int ObjectNotSet = 91;
inline constexpr int InvalidUseOfNull = 94;
inline constexpr int ObjectExists = 3010;
inline constexpr int ObjectNotFound = 3011;
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int DuplicateKey = 3022;
inline constexpr int FileNotFoundDb = 3024;
inline constexpr int ReadOnlyDatabase = 3027;
inline constexpr int NoWorkgroupFile = 3028;
inline constexpr int BadLogin = 3029;
inline constexpr int NoPermission = 3033;
inline constexpr int PathNotFound = 3044;
inline constexpr int FileInUse = 3045;
inline constexpr int FileLocked = 3051;
inline constexpr int FieldTooSmall = 3163;
inline constexpr int RowDeleted = 3167;
inline constexpr int ChangedByOther = 3197;
inline constexpr int RelatedRecordRequired = 3201;
inline constexpr int SyntaxError = 3075;
inline constexpr int NotADatabase = 3343;
inline constexpr int NumericOverflow = 3349;
// A file held open for writing that no longer stands writable under its name: deleted (or
// replaced), renamed or moved, or write-protected (also its folder). Nothing was written.
inline constexpr int FileDeletedWhileOpen = 3900;
inline constexpr int FileMovedWhileOpen = 3901;
inline constexpr int FileNoLongerWritable = 3902;
// The data file is whole, but the log beside it does not belong to it.
inline constexpr int ForeignLog = 3903;
inline constexpr bool fileLostWhileOpen(int number) {
    return number >= FileDeletedWhileOpen && number <= FileNoLongerWritable;
}
inline constexpr int CancelError = 32755;
}  // namespace err

}  // namespace vb
