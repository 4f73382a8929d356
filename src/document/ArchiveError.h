#pragma once

#include <stdexcept>

// Raised by the archive reader. The document turns it into the user's
// message, with the file's path filled in.
class CArchiveError : public std::runtime_error
{
public:
    enum class Kind { EndOfFile, BadFormat };

    CArchiveError(Kind kind, const char* what) : std::runtime_error(what), m_kind(kind) {}
    Kind GetKind() const { return m_kind; }

private:
    Kind m_kind;
};
