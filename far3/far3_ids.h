// The plug-in's identity and the names of what it shows, as the host's
// interface asks for them: one fixed GUID each, never to be changed once
// released, since the host keys its settings and history by them.
#pragma once

#include "far3/far3_records.h"

namespace far3 {

// bf22e90b-517c-4865-99e2-60af8b157421
inline constexpr Uuid kPluginGuid = {
    0xbf22e90b, 0x517c, 0x4865, {0x99, 0xe2, 0x60, 0xaf, 0x8b, 0x15, 0x74, 0x21}};
// 429bf277-dfad-4c58-a569-b9dcc4d02433: the entry in the plug-ins menu (F11)
inline constexpr Uuid kMenuEntryGuid = {
    0x429bf277, 0xdfad, 0x4c58, {0xa5, 0x69, 0xb9, 0xdc, 0xc4, 0xd0, 0x24, 0x33}};
// 4b24dbff-e49d-44cd-a3da-ce8ee200a0ad: the command menu behind that entry
inline constexpr Uuid kCommandMenuGuid = {
    0x4b24dbff, 0xe49d, 0x44cd, {0xa3, 0xda, 0xce, 0x8e, 0xe2, 0x00, 0xa0, 0xad}};
// cd561e9d-773a-45d3-82e0-5a79a1c9dc4a: the mask dialog of select and unselect
inline constexpr Uuid kMaskDialogGuid = {
    0xcd561e9d, 0x773a, 0x45d3, {0x82, 0xe0, 0x5a, 0x79, 0xa1, 0xc9, 0xdc, 0x4a}};

// 9b2eb41c-2e9c-4661-966d-0afd5440bfaa: the find dialog
inline constexpr Uuid kFindDialogGuid = {
    0x9b2eb41c, 0x2e9c, 0x4661, {0x96, 0x6d, 0x0a, 0xfd, 0x54, 0x40, 0xbf, 0xaa}};
// f7fc584c-25d3-418e-81f5-0b5065f85694: the find command's messages: progress, questions, reports
inline constexpr Uuid kFindMessageGuid = {
    0xf7fc584c, 0x25d3, 0x418e, {0x81, 0xf5, 0x0b, 0x50, 0x65, 0xf8, 0x56, 0x94}};

}  // namespace far3
