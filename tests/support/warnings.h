// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace testsupport {

// Makes any warning Qt prints fail the running test, but for the test platform's notes on
// what it cannot do: pass size hints to a window manager, and the abilities named in
// alsoMissing ("raise", "grabbing the keyboard"). Called from a test's init(), it holds for
// each test function and each row.
void failOnWarnings(const QStringList &alsoMissing = {});

} // namespace testsupport
