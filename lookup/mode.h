// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lookup {

// The lookup mode: words while the menu item "words" is checked, idioms otherwise.
enum class Mode { Words, Idioms };

} // namespace lookup
