-- Veltrane's commands on keys of your own, for Far Manager 3's macro engine
-- (LuaMacro). Copy this file into the folder Macros\scripts of your Far
-- Manager profile (%FARPROFILE%\Macros\scripts) and restart Far Manager, or
-- reload the macros (lua:mf.ReloadMacros() on the command line).
--
-- Plugin.Call(Veltrane, command[, argument]) runs one of Veltrane's commands:
--   "Search"[, text]    the description speed search, starting with text
--                       (as much of it as some description begins with)
--   "Select"[, mask]    select the items whose description matches mask, a
--   "Unselect"[, mask]  mask as in the Select dialog (Gray+); without one,
--                       Veltrane's own dialog asks for it
-- "Select" and "Unselect" answer the number of items the mask matched, or -1
-- when nothing was done (no file panel, the dialog cancelled, a mask the
-- host cannot read).

local Veltrane = "BF22E90B-517C-4865-99E2-60AF8B157421"

Macro {
  description = "Veltrane: description speed search";
  area = "Shell"; key = "AltShiftD";
  action = function() Plugin.Call(Veltrane, "Search") end;
}

Macro {
  description = "Veltrane: select the items described as drafts";
  area = "Shell"; key = "AltShiftS";
  action = function() Plugin.Call(Veltrane, "Select", "*draft*") end;
}
