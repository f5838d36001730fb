// Builds an installation folder from the plain-text sources under install/:
//   zuv_install_tool <install source folder> <target folder>
// The target folder is created if needed; the files of the installation are replaced.

#include <exception>
#include <filesystem>
#include <iostream>

#include "install/tool/content_db.h"
#include "install/tool/folder_files.h"
#include "install/tool/pictures.h"
#include "install/tool/report_layouts.h"
#include "install/tool/settings_db.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: zuv_install_tool <install source folder> <target folder>\n";
        return 2;
    }
    // The bitmaps are painted on images without text, which needs no application object or screen.
    try {
        namespace fs = std::filesystem;
        const std::string source = fs::absolute(argv[1]).lexically_normal().string();
        fs::path target = fs::absolute(argv[2]).lexically_normal();
        if (target.has_filename() == false) target = target.parent_path();
        fs::create_directories(target);
        const std::string folder = target.string();

        install::writeWorkgroupFile(folder + "/Sys.mda");
        install::writeSettingsDatabase(source, folder + "/zuv.sdb", folder + "/Sys.mda");
        install::writeContentDatabase(source, folder + "/zuv40typ.sdb", folder + "/Sys.mda");
        install::writeIniFile(folder);
        install::writeIntroduction(source + "/zuvinfo.txt", folder);
        install::writeSymbolMetafiles(folder);
        install::writeBitmaps(folder);
        install::writeHelpFile(source + "/help/ZUVDESK.txt", folder + "/ZUVDESK.chm");
        install::writeHelpFile(source + "/help/ZUVTYP.txt", folder + "/ZUVTYP.chm");
        install::writeReportLayouts(source + "/reports", folder);
    } catch (const std::exception& e) {
        std::cerr << "zuv_install_tool: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
