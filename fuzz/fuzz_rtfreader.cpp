// SPDX-License-Identifier: GPL-3.0-or-later
// The plain text of any file loaded as an index: RTF or not, the reader ends, keeps its
// memory to the size of the file, and never gives more text than the file holds.
#include "platform/rtfreader.h"

#include "fuzzinput.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView file(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray text = platform::rtfPlainText(file);
    if (!file.startsWith(QByteArrayView("{\\rtf")))
        fuzzinput::check(text == file);
    else
        fuzzinput::check(text.size() <= file.size());
    return 0;
}
