// panelhost: a small stand-in file manager that loads plug-ins of the 32-bit,
// single-byte 1.x interface, to try them and to test them end to end under Wine.
//
// Usage: panelhost.exe [options] [FOLDER]
//   FOLDER               the folder to show, with its descript.ion (default: the current one)
//   --list FILE          show a synthetic panel instead: one item a line, name TAB description
//   --plugin DLL         load this plug-in; may be given more than once
//                        (default: Veltrane.dll beside panelhost.exe)
//   --keys "KEYS"        put these keys into the console input queue at the start, as
//                        key presses and releases, and quit once they are spent. Key
//                        names: see keys.h, e.g. "F11 Enter Enter r e Ctrl+Enter Enter F10"
//   --dump FILE          on quitting, write the final state to FILE (below)
//   --size COLSxROWS     make the console this size first (e.g. 80x25)
//   --rect L,T,R,B       put the panel's frame at these cells instead of filling the screen
//   --no-descriptions    hand plug-ins the items without descriptions (and the column
//                        types "N,N,N"), as the real host does in its default view modes,
//                        where it never reads descript.ion; the panel still shows them
//   --no-console-input   give plug-ins a standard input that is no console (the NUL
//                        device); the host keeps reading its own keys from the console
//   --set-palette HEX    first write HKCU\Software\Far\Colors, value CurrentPalette, as
//                        REG_BINARY with these bytes (hex digits, e.g. 000102...);
//                        "none" deletes the value
//   --version, --help
//
// Keys in the panel: arrows, PgUp/PgDn, Home/End; Ins selects and moves down;
// Enter shows the current item in the status line; F11 the plug-ins menu; F10 quits.
//
// Exit codes: 0 done; 2 bad arguments; 3 the folder, its descript.ion or the
// list cannot be read; 4 a plug-in or one of its entry points is missing;
// 5 no console; 6 a scripted run stalled (its keys ran out inside a modal loop).
//
// The dump is text, one fact a line, then the screen:
//   result ok|stalled|error       error MESSAGE follows an error
//   items N / current I NAME / top T / selected I I ... / status TEXT
//   keys K K ...                  every key the host's own loop received, by name
//   cursor X Y                    the console cursor when the last plug-in command returned
//   size W H / rect L T R B
//   log                           then one indented line per host operation a plug-in called
//   screen                        then H lines of W cells, the host's screen as text
//   attributes                    then H lines of W two-digit hex colours
//   flushed                       then the console as read back at the last Text flush of
//   flushed-attributes            a plug-in (rows and colours, as above); "none" if never
//   end
// In the rows, bytes below 32 and 127 are written as '.', all others as they are.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "panelhost/host.h"
#include "panelhost/keys.h"
#include "panelhost/screen.h"

HostState host;

namespace {

constexpr int kExitBadArguments = 2;
constexpr int kExitNoPanel = 3;
constexpr int kExitNoPlugin = 4;
constexpr int kExitNoConsole = 5;
constexpr int kExitStalled = 6;

// A scripted run whose queue stays empty this long is stuck in a modal loop.
constexpr DWORD kStallMs = 8000;
constexpr DWORD kIdleWaitMs = 250;
constexpr size_t kMaxPaletteBytes = 4096;

struct Options {
  std::string folder = ".";
  std::string list;
  std::vector<std::string> plugins;
  bool scripted = false;
  std::string keys;
  std::string dump;
  int columns = 0;
  int rows = 0;
  bool rect = false;
  HostRect panelRect{0, 0, 0, 0};
  bool setPalette = false;
  std::string palette;
  bool noConsoleInput = false;
  bool noDescriptions = false;
};

Options options;
std::vector<Plugin> plugins;
volatile LONG dumpTaken = 0;  // the dump is written once, by whoever ends the run

// ---- The dump ----------------------------------------------------------------------

void WriteRows(FILE* out, const std::vector<CHAR_INFO>& cells, int width) {
  for (size_t row = 0; width > 0 && row * width < cells.size(); ++row) {
    for (int x = 0; x < width; ++x) {
      unsigned char c = static_cast<unsigned char>(cells[row * width + x].Char.AsciiChar);
      fputc(c < ' ' || c == 127 ? '.' : c, out);
    }
    fputc('\n', out);
  }
}

void WriteColours(FILE* out, const std::vector<CHAR_INFO>& cells, int width) {
  for (size_t row = 0; width > 0 && row * width < cells.size(); ++row) {
    for (int x = 0; x < width; ++x) fprintf(out, "%02X", cells[row * width + x].Attributes & 0xFF);
    fputc('\n', out);
  }
}

void WriteDump(const char* result, const std::string& error) {
  if (options.dump.empty() || InterlockedExchange(&dumpTaken, 1) != 0) return;
  FILE* out = fopen(options.dump.c_str(), "wb");
  if (out == nullptr) return;
  const Panel& panel = host.panel;
  fprintf(out, "result %s\n", result);
  if (!error.empty()) fprintf(out, "error %s\n", error.c_str());
  fprintf(out, "items %d\n", ItemCount(panel));
  if (ItemCount(panel) > 0)
    fprintf(out, "current %d %s\n", panel.current, ItemName(panel, panel.current));
  fprintf(out, "top %d\nselected", panel.top);
  for (int i = 0; i < ItemCount(panel); ++i) {
    if (panel.items[i].selected) fprintf(out, " %d", i);
  }
  fprintf(out, "\nstatus %s\nkeys", host.status.c_str());
  for (const std::string& key : host.keys) fprintf(out, " %s", key.c_str());
  fprintf(out, "\ncursor %d %d\n", host.cursorAfterCommand.X, host.cursorAfterCommand.Y);
  fprintf(out, "size %d %d\n", screen.width, screen.height);
  fprintf(out, "rect %d %d %d %d\nlog\n", panel.rect.left, panel.rect.top, panel.rect.right,
          panel.rect.bottom);
  for (const std::string& line : host.log) fprintf(out, "  %s\n", line.c_str());
  fprintf(out, "screen\n");
  WriteRows(out, screen.cells, screen.width);
  fprintf(out, "attributes\n");
  WriteColours(out, screen.cells, screen.width);
  if (host.flushed.empty()) {
    fprintf(out, "flushed none\n");
  } else {
    fprintf(out, "flushed\n");
    WriteRows(out, host.flushed, host.flushedWidth);
    fprintf(out, "flushed-attributes\n");
    WriteColours(out, host.flushed, host.flushedWidth);
  }
  fprintf(out, "end\n");
  fclose(out);
}

int Fail(int code, const std::string& message) {
  fprintf(stderr, "panelhost: %s\n", message.c_str());
  WriteDump("error", message);
  return code;
}

// ---- Options -------------------------------------------------------------------------

bool ParseRect(const std::string& text, HostRect* rect) {
  char tail = 0;
  return sscanf(text.c_str(), "%d,%d,%d,%d%c", &rect->left, &rect->top, &rect->right, &rect->bottom,
                &tail) == 4 &&
         rect->left >= 0 && rect->top >= 0 && rect->right - rect->left >= 9 &&
         rect->bottom - rect->top >= 5;
}

bool ParseSize(const std::string& text, int* columns, int* rows) {
  char tail = 0;
  return sscanf(text.c_str(), "%dx%d%c", columns, rows, &tail) == 2 && *columns >= 20 &&
         *columns <= 1000 && *rows >= 8 && *rows <= 1000;
}

std::string DefaultPlugin() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  std::string folder(path, length < sizeof(path) ? length : 0);
  size_t slash = folder.find_last_of("\\/");
  folder = slash == std::string::npos ? "" : folder.substr(0, slash + 1);
  return folder + "Veltrane.dll";
}

// The host has its console handles already; from now on a plug-in that asks
// for standard input gets the NUL device, where no console call succeeds.
void HideConsoleInputFromPlugins() {
  HANDLE nul = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
  SetStdHandle(STD_INPUT_HANDLE, nul);
}

bool ParseOptions(int argc, char** argv, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    std::string value = hasValue ? argv[i + 1] : "";
    bool takesValue = true;
    if (arg == "--list" && hasValue) {
      options.list = value;
    } else if (arg == "--plugin" && hasValue) {
      options.plugins.push_back(value);
    } else if (arg == "--keys" && hasValue) {
      options.scripted = true;
      options.keys = value;
    } else if (arg == "--dump" && hasValue) {
      options.dump = value;
    } else if (arg == "--size" && hasValue) {
      if (!ParseSize(value, &options.columns, &options.rows)) {
        *error = "--size wants COLSxROWS, at least 20x8";
        return false;
      }
    } else if (arg == "--rect" && hasValue) {
      options.rect = ParseRect(value, &options.panelRect);
      if (!options.rect) {
        *error = "--rect wants LEFT,TOP,RIGHT,BOTTOM, at least 10 by 6 cells";
        return false;
      }
    } else if (arg == "--set-palette" && hasValue) {
      options.setPalette = true;
      options.palette = value;
    } else if (arg == "--no-console-input") {
      options.noConsoleInput = true;
      takesValue = false;
    } else if (arg == "--no-descriptions") {
      options.noDescriptions = true;
      takesValue = false;
    } else if (arg.rfind("--", 0) == 0) {
      *error = "unknown option or missing value: " + arg;
      return false;
    } else {
      options.folder = arg;
      takesValue = false;
    }
    if (takesValue) ++i;
  }
  if (options.plugins.empty()) options.plugins.push_back(DefaultPlugin());
  return true;
}

// ---- The palette in the registry -------------------------------------------------------

bool ParseHex(const std::string& text, std::vector<BYTE>* bytes) {
  if (text.size() % 2 != 0 || text.size() / 2 > kMaxPaletteBytes) return false;
  for (size_t i = 0; i < text.size(); i += 2) {
    unsigned value = 0;
    if (sscanf(text.substr(i, 2).c_str(), "%2x", &value) != 1 || !isxdigit(text[i]) ||
        !isxdigit(text[i + 1])) {
      return false;
    }
    bytes->push_back(static_cast<BYTE>(value));
  }
  return true;
}

bool SetPalette(const std::string& value, std::string* error) {
  const char kKey[] = "Software\\Far\\Colors";
  const char kValue[] = "CurrentPalette";
  HKEY key;
  if (value == "none") {
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, kValue);
      RegCloseKey(key);
    }
    return true;
  }
  std::vector<BYTE> bytes;
  if (!ParseHex(value, &bytes)) {
    *error = "--set-palette wants pairs of hex digits (at most 4096 bytes) or none";
    return false;
  }
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    *error = "cannot create the registry key HKCU\\Software\\Far\\Colors";
    return false;
  }
  LONG status =
      RegSetValueExA(key, kValue, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) *error = "cannot write the palette value";
  return status == ERROR_SUCCESS;
}

// ---- Commands --------------------------------------------------------------------------

void RunPluginCommand(Plugin* plugin, int item) {
  host.log.push_back("OpenPlugin " + plugin->menuStrings[item]);
  // OpenFrom 0; the plug-ins this host serves read neither argument.
  HostHandle opened = plugin->openPlugin(0, item);
  host.cursorAfterCommand = ConsoleCursor();
  if (opened != INVALID_HANDLE_VALUE && opened != nullptr) {
    host.status = "The plug-in opened a panel of its own, which this host cannot show.";
  }
}

void OpenPluginsMenu() {
  std::vector<MenuEntry> entries;
  std::vector<std::pair<Plugin*, int>> targets;
  for (Plugin& plugin : plugins) {
    ReadPluginMenu(&plugin);
    for (size_t i = 0; i < plugin.menuStrings.size(); ++i) {
      entries.push_back({plugin.menuStrings[i], false});
      targets.emplace_back(&plugin, static_cast<int>(i));
    }
  }
  if (entries.empty()) {
    host.status = "No plug-in has an entry for this menu.";
    return;
  }
  int chosen = RunMenu("Plugins", entries, 0, -1, -1, 0);
  if (chosen >= 0) RunPluginCommand(targets[chosen].first, targets[chosen].second);
}

void ShowItem() {
  const Panel& panel = host.panel;
  if (panel.items.empty()) return;
  host.status = std::string("Enter: ") + ItemName(panel, panel.current);
  if (const char* description = ItemDescription(panel, panel.current)) {
    host.status += " - ";
    host.status.append(description, strnlen(description, 200));
  }
}

// One key of the panel; false to quit.
bool PanelKey(const Key& key) {
  Panel* panel = &host.panel;
  int page = VisibleRows(*panel);
  switch (key.vk) {
    case VK_UP:
      MoveCursor(panel, -1);
      break;
    case VK_DOWN:
      MoveCursor(panel, 1);
      break;
    case VK_PRIOR:
      MoveCursor(panel, -page);
      break;
    case VK_NEXT:
      MoveCursor(panel, page);
      break;
    case VK_HOME:
      PlaceCursor(panel, 0, 0);
      break;
    case VK_END:
      PlaceCursor(panel, ItemCount(*panel) - 1, panel->top);
      break;
    case VK_INSERT:
      if (!panel->items.empty()) {
        panel->items[panel->current].selected = !panel->items[panel->current].selected;
        MoveCursor(panel, 1);
      }
      break;
    case VK_RETURN:
      if (!IsCtrl(key)) ShowItem();
      break;
    case VK_F11:
      OpenPluginsMenu();
      break;
    case VK_F10:
      return false;
    default:
      break;
  }
  return true;
}

// ---- Scripted runs ---------------------------------------------------------------------

DWORD WINAPI WatchForStall(void*) {
  DWORD quiet = 0;
  for (;;) {
    Sleep(100);
    DWORD waiting = 0;
    GetNumberOfConsoleInputEvents(screen.input, &waiting);
    quiet = waiting == 0 ? quiet + 100 : 0;
    if (quiet >= kStallMs) {
      WriteDump("stalled", "the keys ran out inside a modal loop");
      ExitProcess(kExitStalled);
    }
  }
}

bool InjectKeys(std::string* error) {
  std::vector<INPUT_RECORD> events;
  if (!ParseKeyScript(options.keys, &events, error)) return false;
  DropPendingInput(screen.input);
  constexpr size_t kChunk = 256;
  for (size_t at = 0; at < events.size(); at += kChunk) {
    DWORD written = 0;
    DWORD count = static_cast<DWORD>(std::min(kChunk, events.size() - at));
    if (!WriteConsoleInputA(screen.input, events.data() + at, count, &written) ||
        written != count) {
      *error = "cannot write the keys into the console input queue";
      return false;
    }
  }
  CreateThread(nullptr, 0, &WatchForStall, nullptr, 0, nullptr);
  return true;
}

// ---- Start and the main loop --------------------------------------------------------------

int Start(int argc, char** argv) {
  std::string error;
  if (!ParseOptions(argc, argv, &error)) return Fail(kExitBadArguments, error);
  if (options.setPalette && !SetPalette(options.palette, &error)) {
    return Fail(kExitBadArguments, error);
  }
  bool loaded = options.list.empty() ? LoadFolder(&host.panel, options.folder, &error)
                                     : LoadList(&host.panel, options.list, &error);
  if (!loaded) return Fail(kExitNoPanel, error);
  plugins.reserve(options.plugins.size());  // their startup records must not move
  for (const std::string& path : options.plugins) {
    plugins.emplace_back();
    if (!LoadPlugin(path, static_cast<int>(plugins.size()) - 1, &plugins.back(), &error)) {
      return Fail(kExitNoPlugin, error);
    }
  }
  if (!OpenConsole(options.columns, options.rows, &error)) return Fail(kExitNoConsole, error);
  if (options.noConsoleInput) HideConsoleInputFromPlugins();

  host.defaultRect = !options.rect;
  host.panel.withoutDescriptions = options.noDescriptions;
  host.panel.rect = options.panelRect;
  host.status = std::to_string(host.panel.items.size()) + " items";
  if (host.panel.malformedLines > 0) {
    host.status += ", " + std::to_string(host.panel.malformedLines) +
                   " unreadable lines in descript.ion skipped";
  }
  PlacePanel();
  if (options.scripted && !InjectKeys(&error)) {
    CloseConsole();
    return Fail(kExitBadArguments, error);
  }
  DrawAll();
  for (;;) {
    Key key;
    bool resized = false;
    if (!ReadKey(screen.input, options.scripted ? 0 : kIdleWaitMs, &key, &resized)) {
      if (!resized && options.scripted) break;  // the keys are spent
      // Not every console reports a resize, so an idle wait looks as well.
      if (FitConsole() || resized) {
        PlacePanel();
        DrawAll();
      }
      continue;
    }
    host.keys.push_back(KeyName(key));
    if (!PanelKey(key)) break;
    DrawAll();
  }
  WriteDump("ok", "");
  CloseConsole();
  return 0;
}

const char kUsage[] =
    "Usage: panelhost.exe [options] [FOLDER]\n"
    "  --list FILE          a synthetic panel: one item a line, name TAB description\n"
    "  --plugin DLL         load this plug-in (repeatable; default Veltrane.dll beside it)\n"
    "  --keys \"KEYS\"        type these keys, then quit, e.g. \"F11 Enter d r e Enter F10\"\n"
    "  --dump FILE          write the final state to FILE\n"
    "  --size COLSxROWS     make the console this size first\n"
    "  --rect L,T,R,B       put the panel's frame at these cells\n"
    "  --set-palette HEX    write the host palette value (hex bytes), or \"none\" to delete it\n"
    "  --no-console-input   give plug-ins a standard input that is no console\n"
    "  --no-descriptions    hand plug-ins the items without descriptions (default view)\n"
    "Keys: arrows, PgUp/PgDn, Home/End, Ins select, Enter show, F11 plug-ins, F10 quit.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && strcmp(argv[1], "--version") == 0) {
    printf("panelhost 1.0\n");
    return 0;
  }
  if (argc == 2 && strcmp(argv[1], "--help") == 0) {
    fputs(kUsage, stdout);
    return 0;
  }
  return Start(argc, argv);
}
