#include "install/tool/report_layouts.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/report/report.h"
#include "platform/vb/error.h"

namespace install {

std::vector<std::string> writeReportLayouts(const std::string& sourceFolder, const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(sourceFolder))
        if (entry.is_regular_file() && entry.path().extension() == ".rpt")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::ifstream in(fs::path(sourceFolder) / name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        try {
            report::readLayout(text.str(), name);
        } catch (const vb::Error& e) {
            throw std::runtime_error(e.description());
        }
        std::ofstream out(fs::path(folder) / name, std::ios::binary | std::ios::trunc);
        out << text.str();
        out.close();
        if (!out) throw std::runtime_error(name + ": cannot be written");
    }
    return names;
}

}  // namespace install
