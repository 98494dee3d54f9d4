// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <utility>

namespace platform {

// An open file or folder of the system (a descriptor on POSIX, a HANDLE on Windows), closed
// when the object goes. Locks held through it end with it, or with the process.
class OwnedHandle
{
public:
    OwnedHandle() = default;
    explicit OwnedHandle(qintptr handle) : m_handle(handle) {}
    OwnedHandle(OwnedHandle &&other) noexcept : m_handle(std::exchange(other.m_handle, kNone)) {}
    OwnedHandle &operator=(OwnedHandle &&other) noexcept
    {
        if (this != &other) {
            close();
            m_handle = std::exchange(other.m_handle, kNone);
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle &) = delete;
    OwnedHandle &operator=(const OwnedHandle &) = delete;
    ~OwnedHandle() { close(); }

    bool valid() const { return m_handle != kNone; }
    qintptr get() const { return m_handle; }

private:
    // -1 is both POSIX's invalid descriptor and Windows's INVALID_HANDLE_VALUE.
    static constexpr qintptr kNone = -1;

    void close();

    qintptr m_handle = kNone;
};

} // namespace platform
