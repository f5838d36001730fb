#include "platform/draw/metafile_writer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/files/file_io.h"
#include "platform/files/held_files.h"
#include "platform/files/paths.h"
#include "platform/vb/error.h"

namespace draw {

namespace {
// Record function numbers of the metafile format.
constexpr uint16_t kSetMapMode = 0x0103;
constexpr uint16_t kSetWindowOrg = 0x020B;
constexpr uint16_t kSetWindowExt = 0x020C;
constexpr uint16_t kMoveTo = 0x0214;
constexpr uint16_t kLineTo = 0x0213;
constexpr uint16_t kSelectObject = 0x012D;
constexpr uint16_t kDeleteObject = 0x01F0;
constexpr uint16_t kCreatePen = 0x02FA;
constexpr uint16_t kCreateBrush = 0x02FC;
constexpr uint16_t kPolyline = 0x0325;
constexpr uint16_t kPolygon = 0x0324;
constexpr uint16_t kEllipse = 0x0418;
constexpr uint16_t kRectangle = 0x041B;
constexpr uint16_t kAnisotropic = 8;

uint16_t w(int v) { return static_cast<uint16_t>(static_cast<int16_t>(v)); }
uint16_t lo(uint32_t v) { return static_cast<uint16_t>(v & 0xFFFF); }
uint16_t hi(uint32_t v) { return static_cast<uint16_t>(v >> 16); }

void putWord(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
}  // namespace

MetafileWriter::MetafileWriter(int16_t width, int16_t height, uint16_t unitsPerInch)
    : m_width(width), m_height(height), m_unitsPerInch(unitsPerInch ? unitsPerInch : 1440) {
    record(kSetMapMode, {kAnisotropic});
    record(kSetWindowOrg, {0, 0});  // y, x
    record(kSetWindowExt, {w(height), w(width)});
}

void MetafileWriter::record(uint16_t function, const std::vector<uint16_t>& params) {
    const uint32_t size = 3 + static_cast<uint32_t>(params.size());
    m_records.push_back(lo(size));
    m_records.push_back(hi(size));
    m_records.push_back(function);
    m_records.insert(m_records.end(), params.begin(), params.end());
    m_maxRecordWords = std::max(m_maxRecordWords, size);
}

int MetafileWriter::takeSlot() {
    auto it = std::find(m_slots.begin(), m_slots.end(), false);
    if (it != m_slots.end()) {
        *it = true;
        return static_cast<int>(it - m_slots.begin());
    }
    m_slots.push_back(true);
    return static_cast<int>(m_slots.size() - 1);
}

int MetafileWriter::createPen(int style, int width, uint32_t color) {
    // LOGPEN: style, width as a point (x used, y ignored), colour.
    record(kCreatePen, {w(style), w(width), 0, lo(color & 0xFFFFFF), hi(color & 0xFFFFFF)});
    return takeSlot();
}

int MetafileWriter::createBrush(int style, uint32_t color, int hatch) {
    record(kCreateBrush, {w(style), lo(color & 0xFFFFFF), hi(color & 0xFFFFFF), w(hatch)});
    return takeSlot();
}

void MetafileWriter::selectObject(int handle) {
    if (handle < 0 || handle >= static_cast<int>(m_slots.size()) || !m_slots[handle])
        throw vb::Error(vb::err::InvalidProcedureCall, vb::errorDescription(vb::err::InvalidProcedureCall) +
                                                           ": kein Zeichenobjekt " + std::to_string(handle));
    record(kSelectObject, {w(handle)});
}

void MetafileWriter::deleteObject(int handle) {
    if (handle < 0 || handle >= static_cast<int>(m_slots.size()) || !m_slots[handle])
        throw vb::Error(vb::err::InvalidProcedureCall, vb::errorDescription(vb::err::InvalidProcedureCall) +
                                                           ": kein Zeichenobjekt " + std::to_string(handle));
    record(kDeleteObject, {w(handle)});
    m_slots[handle] = false;
}

void MetafileWriter::moveTo(int16_t x, int16_t y) { record(kMoveTo, {w(y), w(x)}); }
void MetafileWriter::lineTo(int16_t x, int16_t y) { record(kLineTo, {w(y), w(x)}); }

void MetafileWriter::recordPoints(uint16_t function, const std::vector<WmfPoint>& points) {
    if (points.size() > 0x7FFF) throw vb::Error(vb::err::Overflow);
    std::vector<uint16_t> p{w(static_cast<int>(points.size()))};
    for (const WmfPoint& pt : points) {
        p.push_back(w(pt.x));
        p.push_back(w(pt.y));
    }
    record(function, p);
}

void MetafileWriter::polyline(const std::vector<WmfPoint>& points) { recordPoints(kPolyline, points); }
void MetafileWriter::polygon(const std::vector<WmfPoint>& points) { recordPoints(kPolygon, points); }

void MetafileWriter::ellipse(int16_t left, int16_t top, int16_t right, int16_t bottom) {
    record(kEllipse, {w(bottom), w(right), w(top), w(left)});
}

void MetafileWriter::rectangle(int16_t left, int16_t top, int16_t right, int16_t bottom) {
    record(kRectangle, {w(bottom), w(right), w(top), w(left)});
}

std::vector<uint8_t> MetafileWriter::bytes() const {
    std::vector<uint8_t> out;
    // Placeable header: key, handle, bounding box, units per inch, reserved, checksum.
    const uint32_t key = 0x9AC6CDD7u;
    std::vector<uint16_t> ph{lo(key), hi(key), 0, 0, 0, w(m_width), w(m_height), m_unitsPerInch, 0, 0};
    uint16_t checksum = 0;
    for (uint16_t v : ph) checksum ^= v;
    ph.push_back(checksum);
    for (uint16_t v : ph) putWord(out, v);

    const uint32_t eofWords = 3;
    const uint32_t total = 9 + static_cast<uint32_t>(m_records.size()) + eofWords;
    const uint32_t maxRecord = std::max(m_maxRecordWords, eofWords);
    // Metafile header: type 1 (memory), header size 9 words, version 3.0.
    const std::vector<uint16_t> mh{
        1, 9, 0x0300, lo(total), hi(total), static_cast<uint16_t>(m_slots.size()), lo(maxRecord), hi(maxRecord), 0};
    for (uint16_t v : mh) putWord(out, v);
    for (uint16_t v : m_records) putWord(out, v);
    putWord(out, 3);
    putWord(out, 0);
    putWord(out, 0);  // end of file record
    return out;
}

void MetafileWriter::save(const std::string& path) const {
    const std::string p = files::resolve(path);
    const std::filesystem::path fp(p);
    std::error_code ec;
    if (fp.has_parent_path() && !std::filesystem::is_directory(fp.parent_path(), ec))
        throw vb::Error(vb::err::FolderNotFound,
                        vb::errorDescription(vb::err::FolderNotFound) + ": " + fp.parent_path().string());
    files::refuseHeldFile(p);
    const std::vector<uint8_t> data = bytes();
    files::FileReplacement out(p);
    out.write(data.data(), data.size());
    out.commit();
}

}  // namespace draw
