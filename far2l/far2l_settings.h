// The host's own settings, which it keeps in settings/config.ini in its
// profile folder and gives plug-ins no call to read.
#pragma once

namespace far2l {

// The on/off option key of section in the host's settings file, read as the
// host reads it (a number, 0 for off), or fallback where the file, the
// section or the key is missing or unreadable.
bool HostOptionOn(const char* section, const char* key, bool fallback);

}  // namespace far2l
