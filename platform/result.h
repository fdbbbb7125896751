#pragma once

#include <optional>
#include <utility>
#include <variant>

// The outcome of an operation that can fail: its value, or the failure as
// data (FileFailure, DiaryFileError...). Every fallible file and document
// operation of the core answers with one of these, so a caller tests it the
// same way everywhere: true on success, error() for what went wrong.
//
// The names follow std::expected (C++23, not available to this C++20
// build), so that switching to it later changes no caller:
// Result<T, E> is std::expected<T, E>, Status<E> std::expected<void, E>,
// Failed{e} std::unexpected{e}.

template <typename E> struct Failed {
    E error;
};

template <typename E> Failed(E) -> Failed<E>;

template <typename T, typename E> class [[nodiscard]] Result {
public:
    Result(T value)
        : m_state(std::in_place_index<0>, std::move(value))
    {
    }
    Result(Failed<E> failed)
        : m_state(std::in_place_index<1>, std::move(failed.error))
    {
    }

    bool has_value() const { return m_state.index() == 0; }
    explicit operator bool() const { return has_value(); }

    // Only on success.
    T& operator*() { return std::get<0>(m_state); }
    const T& operator*() const { return std::get<0>(m_state); }
    T* operator->() { return &std::get<0>(m_state); }
    const T* operator->() const { return &std::get<0>(m_state); }

    // Only on failure.
    const E& error() const { return std::get<1>(m_state); }
    // The failure, or `otherwise` on success.
    E error_or(E otherwise) const { return has_value() ? std::move(otherwise) : error(); }

private:
    std::variant<T, E> m_state;
};

// The outcome of an operation that has no value to give: success, or why not.
template <typename E> class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Failed<E> failed)
        : m_error(std::move(failed.error))
    {
    }

    bool has_value() const { return !m_error.has_value(); }
    explicit operator bool() const { return has_value(); }

    // Only on failure.
    const E& error() const { return *m_error; }
    // The failure, or `otherwise` on success.
    E error_or(E otherwise) const { return has_value() ? std::move(otherwise) : error(); }

private:
    std::optional<E> m_error;
};
