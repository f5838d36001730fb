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

// Each error number the programs raise or test for, by one name.
namespace err {
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int DivisionByZero = 11;
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
inline constexpr int OutOfMemory = 7;
inline constexpr int InternalError = 51;
inline constexpr int BadFileNameOrNumber = 52;
inline constexpr int FileAlreadyOpen = 55;
inline constexpr int DeviceIOError = 57;
inline constexpr int FileAlreadyExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEndOfFile = 62;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccessError = 75;
inline constexpr int FolderNotFound = 76;
inline constexpr int ControlArrayElementMissing = 340;
inline constexpr int ObjectAlreadyLoaded = 360;
inline constexpr int CannotUnloadDesignTimeControl = 362;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int InvalidPropertyArrayIndex = 381;
inline constexpr int PropertyReadOnly = 383;
inline constexpr int NoSuchPropertyOrMethod = 438;
inline constexpr int FormatNotFitting = 461;
inline constexpr int InvalidPicture = 481;
inline constexpr int PrinterError = 482;
inline constexpr int NamedObjectExists = 3012;
inline constexpr int UpdateWithoutEdit = 3020;
inline constexpr int DiskSpaceExhausted = 3026;
inline constexpr int CommitWithoutBeginTrans = 3034;
inline constexpr int DiskOrNetworkError = 3043;
inline constexpr int TooFewParameters = 3061;
inline constexpr int CannotExecuteSelectQuery = 3065;
inline constexpr int UnknownFieldInCriteria = 3070;
inline constexpr int CriteriaSyntaxError = 3077;
inline constexpr int TableNotFound = 3078;
inline constexpr int InvalidSqlStatement = 3129;
inline constexpr int CharactersAfterStatementEnd = 3142;
inline constexpr int InvalidBookmark = 3159;
inline constexpr int FieldNotUpdatable = 3164;
inline constexpr int DatabaseExists = 3204;
inline constexpr int RecordLocked = 3218;
inline constexpr int ItemNotFound = 3265;
inline constexpr int FieldDefinitionSyntaxError = 3292;
inline constexpr int TableInRelationship = 3303;
inline constexpr int FieldRequired = 3314;
inline constexpr int ValidationRuleViolated = 3317;
inline constexpr int NoUniqueIndexOnPrimaryField = 3368;
inline constexpr int IndexExists = 3375;
inline constexpr int ObjectInvalid = 3420;
inline constexpr int InvalidRowValue = 30009;
inline constexpr int InvalidColumnValue = 30010;
inline constexpr int CannotRemoveLastRow = 30015;
// Numbers the engine itself never raises; the print-table upgrade passes over them all the same.
inline constexpr int TableInUse = 3211;
inline constexpr int NameExistsInCollection = 3367;
inline constexpr int NoSuchIndex = 3372;
inline constexpr int TableDoesNotExist = 3376;
inline constexpr int FieldExists = 3380;
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
