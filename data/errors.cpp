#include "data/errors.h"

#include "data/messages.h"
#include "data/numtext.h"
#include "data/platform.h"

namespace Data {

DataError::DataError(std::u16string text) : std::runtime_error(PL::ToUtf8(text)), text_(std::move(text)) {}

DataError DataError::InFile(const std::u16string& path, long line, const std::u16string& reason) {
    return DataError(MessageFormat(kMsgErrorInFile, path).Arg(FormatInt(line)).Arg(reason).Format());
}

DataFormatError DataFormatError::InvalidValue(const std::u16string& column) {
    return DataFormatError(MessageFormat(kMsgInvalidValueFor, column).Format());
}

}  // namespace Data

namespace PL {

FileIOError::FileIOError(std::u16string text) : std::runtime_error(ToUtf8(text)), text_(std::move(text)) {}

FileIOError FileIOError::Reading(const std::u16string& path) {
    return FileIOError(Data::MessageFormat(Data::kMsgErrorReadingFile, path).Format());
}

FileIOError FileIOError::Writing(const std::u16string& path) {
    return FileIOError(Data::MessageFormat(Data::kMsgErrorWritingFile, path).Format());
}

}  // namespace PL
