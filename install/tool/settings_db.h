#pragma once

#include <functional>
#include <string>

namespace db {
class Database;
}

namespace install {

// The account every database of the system is created and opened with, and its workgroup password.
inline constexpr const char* kAccount = "KestrelAdmin";
inline constexpr const char* kWorkgroupPassword = "MossGlade";
// Every installation's workgroup carries this identification, so data files move between
// installations and survive a new installation.
inline constexpr const char* kWorkgroupKennung = "Z.U.V. Arbeitsgruppe Kestrel";

// Writes the workgroup file with the one account and the groups "Admins" and "Users".
void writeWorkgroupFile(const std::string& path);

// Makes a new database at `path`, replacing a file there, through the engine and the account's
// login on the workgroup file `workgroupPath`; `fill` writes its tables. An engine error removes
// the half-made file and is reported as std::runtime_error naming the file.
void writeInstallationDatabase(const std::string& path, const std::string& workgroupPath,
                               const std::function<void(db::Database&)>& fill);

// Writes the settings database "zuv.sdb" from the sources under `sourceDir` (install/), through the
// engine and the login of the workgroup file `workgroupPath`, so that both programs can open it.
// An existing file is replaced.
void writeSettingsDatabase(const std::string& sourceDir, const std::string& path, const std::string& workgroupPath);

}  // namespace install
