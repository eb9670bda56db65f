#pragma once

#include <QString>
#include <utility>
#include <variant>

namespace kavoret {

// What went wrong, in words a teacher can act on: the file and the problem.
struct Error {
    QString message;
};

// A value or an error. I/O and parsers return these; only screens and the
// start-up turn errors into message boxes.
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : data_(std::move(value)) {}
    Result(Error error) : data_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(data_); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<T>(data_); }
    T& value() & { return std::get<T>(data_); }
    T&& value() && { return std::get<T>(std::move(data_)); }
    const Error& error() const { return std::get<Error>(data_); }

private:
    std::variant<T, Error> data_;
};

// For operations that return nothing but may fail.
struct Done {};
using Status = Result<Done>;

inline Status success() {
    return Done{};
}

} // namespace kavoret
