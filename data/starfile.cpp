#include "data/starfile.h"

#include "data/platform.h"
#include "data/starformat.h"

namespace Data {

namespace {

constexpr long kPdbHeaderSize = 78;
constexpr long kPdbEntrySize = 8;

// Star numbers of the HIP section must stay below the TYC section's base, and
// those of the TYC section inside int32: a header that claims more is cut.
constexpr uint32_t kMaxHipBlocks = (kTycStarBase - kHipStarBase) / kStarsPerBlock;
constexpr uint32_t kMaxTycBlocks = (0x7FFFFFFFu - kTycStarBase) / kStarsPerBlock;

}  // namespace

PDBFileReader::~PDBFileReader() { Close(); }

bool PDBFileReader::Open(const std::u16string& path) {
    Close();
    if (path.empty()) return false;
    file_ = PL::Current().OpenFile(path, "rb");
    return file_ != nullptr;
}

void PDBFileReader::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

int PDBFileReader::Read(uint32_t record, uint32_t offset, void* dest, uint32_t count) {
    ++reads_;
    if (!file_) return kNotOpen;
    // 64-bit offsets: a record number or offset from a damaged file must not
    // wrap around into another part of the file.
    const long long entryAt = kPdbHeaderSize + kPdbEntrySize * static_cast<long long>(record);
    if (std::fseek(file_, static_cast<long>(entryAt), SEEK_SET) != 0) return kSeekFailed;
    uint8_t entry[kPdbEntrySize];
    if (std::fread(entry, 1, sizeof entry, file_) != sizeof entry) return kShortRead;
    const long long at = static_cast<long long>(GetU32(entry)) + offset;
    if (at > 0x7FFFFFFFLL) return kSeekFailed;  // beyond what fseek takes everywhere
    if (std::fseek(file_, static_cast<long>(at), SEEK_SET) != 0) return kSeekFailed;
    if (count > 0 && std::fread(dest, 1, count, file_) != count) return kShortRead;
    return kOk;
}

bool StarPDBFileReader::Open(const std::u16string& path) {
    hipRecord_ = tycRecord_ = hipBlocks_ = tycBlocks_ = 0;
    if (!PDBFileReader::Open(path)) return false;
    uint8_t header[14];
    if (Read(kHeaderRecord, 0, header, sizeof header) != kOk) {
        Close();
        return false;
    }
    hipRecord_ = GetU16(header);
    tycRecord_ = GetU16(header + 2);
    hipBlocks_ = GetU32(header + 4) / kStarsPerBlock;
    tycBlocks_ = GetU32(header + 8) / kStarsPerBlock;
    if (hipBlocks_ > kMaxHipBlocks) hipBlocks_ = kMaxHipBlocks;
    if (tycBlocks_ > kMaxTycBlocks) tycBlocks_ = kMaxTycBlocks;
    return true;
}

}  // namespace Data
