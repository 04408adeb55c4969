#pragma once

#include <stdexcept>
#include <string>

namespace kov {

// The one error mechanism of the core: every reader and writer throws a FileError that names the
// file and says what went wrong; the window that started the work catches it and reports it.
class FileError : public std::runtime_error {
public:
    enum class Kind {
        Missing, // the file does not exist
        Read,    // it exists but cannot be opened or read
        Write,   // it cannot be created, written or renamed into place
        Format,  // its content is not a valid file of its kind
    };

    FileError(Kind kind, std::string file, std::string detail)
        : std::runtime_error(compose(kind, file, detail))
        , kind_(kind)
        , file_(std::move(file))
        , detail_(std::move(detail)) {}

    Kind kind() const { return kind_; }
    const std::string& file() const { return file_; }
    const std::string& detail() const { return detail_; }

private:
    static std::string compose(Kind kind, const std::string& file, const std::string& detail) {
        const char* what = kind == Kind::Missing ? "missing"
                           : kind == Kind::Read  ? "cannot be read"
                           : kind == Kind::Write ? "cannot be written"
                                                 : "bad format";
        return "\"" + file + "\": " + what + (detail.empty() ? "" : ": " + detail);
    }

    Kind kind_;
    std::string file_;
    std::string detail_;
};

inline FileError format_error(const std::string& file, const std::string& detail) {
    return FileError(FileError::Kind::Format, file, detail);
}

} // namespace kov
