// Exceptions that carry a finished, user-language message text out of file
// and parsing code; the user interface shows Text() as it is. what() gives
// the same text in UTF-8 (for command-line tools and logs).
#pragma once

#include <stdexcept>
#include <string>

namespace Data {

// A data file is unusable.
class DataError : public std::runtime_error {
public:
    explicit DataError(std::u16string text);
    const std::u16string& Text() const { return text_; }

    // "Error in file {0} on line {1}: {2}" (German twin by the user's
    // language): a record of the file at `path` is invalid; `line` counts
    // from 1, `reason` is the record's own error text.
    static DataError InFile(const std::u16string& path, long line, const std::u16string& reason);

private:
    std::u16string text_;
};

// A record or field of a data file is invalid.
class DataFormatError : public DataError {
public:
    using DataError::DataError;

    // "Invalid value for {0}" with the column's name.
    static DataFormatError InvalidValue(const std::u16string& column);
};

}  // namespace Data

namespace PL {

// Opening, reading or writing a file failed.
class FileIOError : public std::runtime_error {
public:
    explicit FileIOError(std::u16string text);
    const std::u16string& Text() const { return text_; }

    // "Error reading file {0}." / "Error writing file {0}." with the full path.
    static FileIOError Reading(const std::u16string& path);
    static FileIOError Writing(const std::u16string& path);

private:
    std::u16string text_;
};

}  // namespace PL
