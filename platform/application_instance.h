#pragma once

namespace snugbox {

// Makes sure a widget application object exists, creating one when there is none yet; it
// then lives until the program ends. Windows, message boxes and fonts need it. Returns
// false when some other kind of application object was created first.
bool ensureApplicationInstance();

} // namespace snugbox
