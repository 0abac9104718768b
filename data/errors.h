// Exceptions that carry a finished, user-language message text out of file
// and parsing code; the user interface shows the text as it is.
#pragma once

#include <stdexcept>
#include <string>

namespace Data {

class DataError : public std::runtime_error {
public:
    explicit DataError(std::u16string text) : std::runtime_error("data error"), text_(std::move(text)) {}
    const std::u16string& Text() const { return text_; }

private:
    std::u16string text_;
};

// A record or field of a data file is invalid.
class DataFormatError : public DataError {
public:
    using DataError::DataError;
};

}  // namespace Data

namespace PL {

// Opening, reading or writing a file failed.
class FileIOError : public std::runtime_error {
public:
    explicit FileIOError(std::u16string text) : std::runtime_error("file error"), text_(std::move(text)) {}
    const std::u16string& Text() const { return text_; }

private:
    std::u16string text_;
};

}  // namespace PL
