// The texts of the current-generation plug-in that never change with the
// language: how it names itself to the host. What the user reads comes from
// the host's language files (Veltrane_en.lng, Veltrane_ru.lng), one message
// per line in the order of Message (core/messages.h).
#pragma once

namespace far3::texts {

inline constexpr char16_t kPluginTitle[] = u"Veltrane";
inline constexpr char16_t kPluginDescription[] =
    u"Find and select panel items by their descriptions";
inline constexpr char16_t kPluginAuthor[] = u"The Veltrane developers";

}  // namespace far3::texts
