#pragma once

#include <string>

namespace mirla {

/// Engine error codes; `ErrorText` gives their messages.
enum ErrorCodeValue : int {
    ErrSyntax = 0,
    ErrStackOverflow = 2,
    ErrExtremumNotFound = 6,
    ErrArgument = 8,
    ErrArgumentNegative = 10,
    ErrOverflow = 11,
    ErrSingularity = 12,
    ErrDivisionByZero = 13,
    ErrTooManyClosing = 16,
    ErrMissingOpen = 17,
    ErrMissingClose = 18,
    ErrCommaExpected = 20,
    ErrInterval = 21,
    ErrUserBreak = 22,
    ErrChangeNotation = 23,
    ErrOutOfRange = 24,
    ErrMissingArgument = 26,
    ErrUserFunction = 27,
    ErrUnderflow = 28,
};

/// The message of an error code. Code 27 quotes the inner error of a user function, so it
/// needs the inner code and position; the text is cut to 80 characters.
std::string ErrorText(int code, int innerCode = 0, int innerPos = 0);

} // namespace mirla
