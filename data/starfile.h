// Reading "stars.dat", a Palm database (PDB) container: a 78-byte header,
// then a list of 8-byte record entries whose first four bytes are the
// record's offset in the file. The file is read record by record, a block at
// a time, and never held in memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace Data {

class PDBFileReader {
public:
    // Error codes of Read.
    enum : int { kOk = 0, kNotOpen = 1, kSeekFailed = 2, kShortRead = 3 };

    PDBFileReader() = default;
    explicit PDBFileReader(const std::u16string& path) { Open(path); }
    virtual ~PDBFileReader();
    PDBFileReader(const PDBFileReader&) = delete;
    PDBFileReader& operator=(const PDBFileReader&) = delete;

    bool Open(const std::u16string& path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    // Reads `count` bytes at `offset` within record `record` into dest.
    int Read(uint32_t record, uint32_t offset, void* dest, uint32_t count);

    // Reads done so far (each Read counts once, successful or not).
    uint32_t ReadCount() const { return reads_; }

private:
    std::FILE* file_ = nullptr;
    uint32_t reads_ = 0;
};

// "stars.dat" with its header (record 0) read. If the header cannot be read
// the file is closed again and the reader acts as absent.
class StarPDBFileReader : public PDBFileReader {
public:
    StarPDBFileReader() = default;
    // Opens the file at path; an empty path gives an absent reader.
    explicit StarPDBFileReader(const std::u16string& path) { Open(path); }
    bool Open(const std::u16string& path);

    uint32_t HipRecord() const { return hipRecord_; }
    uint32_t TycRecord() const { return tycRecord_; }
    uint32_t HipBlocks() const { return hipBlocks_; }
    uint32_t TycBlocks() const { return tycBlocks_; }
    uint32_t HipStars() const { return hipBlocks_ * 63; }
    uint32_t TycStars() const { return tycBlocks_ * 63; }

    // Record numbers of the tables that follow the header.
    enum : uint32_t { kHeaderRecord = 0, kSpectralRecord = 1, kHipTychoRecord = 2, kTycTychoRecord = 3,
                      kHighHipRecord = 4 };

private:
    uint32_t hipRecord_ = 0, tycRecord_ = 0;
    uint32_t hipBlocks_ = 0, tycBlocks_ = 0;
};

}  // namespace Data
