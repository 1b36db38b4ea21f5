// The console behind the host's screen buffer.
#include "panelhost/screen.h"

#include <algorithm>
#include <cstdint>

Screen screen;

namespace {

// The OEM code page whose box characters plug-ins of this generation draw with.
constexpr UINT kCodePage = 437;

DWORD savedInputMode = 0;
UINT savedInputCodePage = 0;
UINT savedOutputCodePage = 0;

bool WindowSize(int* columns, int* rows) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(screen.output, &info)) return false;
  *columns = info.srWindow.Right - info.srWindow.Left + 1;
  *rows = info.srWindow.Bottom - info.srWindow.Top + 1;
  return true;
}

// A buffer can only shrink below the window once the window is smaller, so
// the window goes first to the smaller of both sizes, then the buffer, then
// the window to the whole buffer.
void SetConsoleSize(int columns, int rows) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(screen.output, &info)) return;
  SMALL_RECT smaller = {0, 0, static_cast<SHORT>(std::min<int>(columns, info.dwSize.X) - 1),
                        static_cast<SHORT>(std::min<int>(rows, info.dwSize.Y) - 1)};
  SetConsoleWindowInfo(screen.output, TRUE, &smaller);
  SetConsoleScreenBufferSize(screen.output,
                             {static_cast<SHORT>(columns), static_cast<SHORT>(rows)});
  SMALL_RECT whole = {0, 0, static_cast<SHORT>(columns - 1), static_cast<SHORT>(rows - 1)};
  SetConsoleWindowInfo(screen.output, TRUE, &whole);
}

void Resize(int columns, int rows) {
  screen.width = columns;
  screen.height = rows;
  CHAR_INFO blank;
  blank.Char.AsciiChar = ' ';
  blank.Attributes = 0x07;
  screen.cells.assign(static_cast<size_t>(columns) * rows, blank);
}

CHAR_INFO* Cell(int x, int y) {
  if (x < 0 || y < 0 || x >= screen.width || y >= screen.height) return nullptr;
  return &screen.cells[static_cast<size_t>(y) * screen.width + x];
}

}  // namespace

bool OpenConsole(int columns, int rows, std::string* error) {
  screen.input = GetStdHandle(STD_INPUT_HANDLE);
  screen.output = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleMode(screen.input, &savedInputMode) ||
      !GetConsoleScreenBufferInfo(screen.output, &info)) {
    *error = "no console: run it in a terminal (under Wine, in a pseudo-terminal)";
    return false;
  }
  SetConsoleMode(screen.input, ENABLE_WINDOW_INPUT | ENABLE_MOUSE_INPUT);
  savedInputCodePage = GetConsoleCP();
  savedOutputCodePage = GetConsoleOutputCP();
  SetConsoleCP(kCodePage);
  SetConsoleOutputCP(kCodePage);
  if (columns > 0 && rows > 0) SetConsoleSize(columns, rows);
  FitConsole();
  if (screen.width <= 0 || screen.height <= 0) Resize(80, 25);
  return true;
}

void CloseConsole() {
  FillRect(0, 0, screen.width - 1, screen.height - 1, 0x07);
  Flush();
  SetCursor(0, 0);
  SetConsoleMode(screen.input, savedInputMode);
  SetConsoleCP(savedInputCodePage);
  SetConsoleOutputCP(savedOutputCodePage);
}

bool FitConsole() {
  int columns = 0;
  int rows = 0;
  if (!WindowSize(&columns, &rows) || columns <= 0 || rows <= 0) return false;
  CONSOLE_SCREEN_BUFFER_INFO info;
  GetConsoleScreenBufferInfo(screen.output, &info);
  if (info.dwSize.X != columns || info.dwSize.Y != rows) SetConsoleSize(columns, rows);
  if (columns == screen.width && rows == screen.height) return false;
  Resize(columns, rows);
  return true;
}

// ---- Drawing -------------------------------------------------------------------

void Put(int x, int y, int color, const char* text, int maxLength) {
  if (y < 0 || y >= screen.height) return;
  for (int i = 0; text[i] != '\0' && (maxLength < 0 || i < maxLength); ++i) {
    int64_t column = static_cast<int64_t>(x) + i;
    if (column >= screen.width) break;
    if (CHAR_INFO* cell = Cell(static_cast<int>(column), y)) {
      // A control byte would reach the terminal as a control code under Wine.
      unsigned char c = static_cast<unsigned char>(text[i]);
      cell->Char.AsciiChar = c < ' ' || c == 127 ? '?' : text[i];
      cell->Attributes = static_cast<WORD>(color & 0xFF);
    }
  }
}

void Fill(int x, int y, int count, char c, int color) {
  if (y < 0 || y >= screen.height) return;
  for (int i = std::max(0, -x); i < count && static_cast<int64_t>(x) + i < screen.width; ++i) {
    if (CHAR_INFO* cell = Cell(x + i, y)) {
      cell->Char.AsciiChar = c;
      cell->Attributes = static_cast<WORD>(color & 0xFF);
    }
  }
}

void FillRect(int left, int top, int right, int bottom, int color) {
  for (int y = top; y <= bottom; ++y) Fill(left, y, right - left + 1, ' ', color);
}

const CHAR_INFO* CellAt(int x, int y) {
  return Cell(x, y);
}

// ---- The console -------------------------------------------------------------

void Flush() {
  if (screen.cells.empty()) return;
  COORD size = {static_cast<SHORT>(screen.width), static_cast<SHORT>(screen.height)};
  SMALL_RECT area = {0, 0, static_cast<SHORT>(screen.width - 1),
                     static_cast<SHORT>(screen.height - 1)};
  WriteConsoleOutputA(screen.output, screen.cells.data(), size, {0, 0}, &area);
}

std::vector<CHAR_INFO> ReadConsoleCells() {
  std::vector<CHAR_INFO> cells(screen.cells.size());
  if (cells.empty()) return cells;
  COORD size = {static_cast<SHORT>(screen.width), static_cast<SHORT>(screen.height)};
  SMALL_RECT area = {0, 0, static_cast<SHORT>(screen.width - 1),
                     static_cast<SHORT>(screen.height - 1)};
  if (!ReadConsoleOutputA(screen.output, cells.data(), size, {0, 0}, &area)) cells.clear();
  return cells;
}

COORD ConsoleCursor() {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(screen.output, &info)) return {-1, -1};
  return info.dwCursorPosition;
}

void SetCursor(int x, int y) {
  x = std::clamp(x, 0, std::max(0, screen.width - 1));
  y = std::clamp(y, 0, std::max(0, screen.height - 1));
  SetConsoleCursorPosition(screen.output, {static_cast<SHORT>(x), static_cast<SHORT>(y)});
}

SavedArea SaveArea(int left, int top, int right, int bottom) {
  SavedArea area{std::max(0, left),
                 std::max(0, top),
                 std::min(right, screen.width - 1),
                 std::min(bottom, screen.height - 1),
                 {}};
  for (int y = area.top; y <= area.bottom; ++y) {
    for (int x = area.left; x <= area.right; ++x) area.cells.push_back(*Cell(x, y));
  }
  return area;
}

void RestoreArea(const SavedArea& area) {
  size_t i = 0;
  for (int y = area.top; y <= area.bottom; ++y) {
    for (int x = area.left; x <= area.right; ++x) {
      CHAR_INFO* cell = Cell(x, y);
      if (cell != nullptr && i < area.cells.size()) *cell = area.cells[i];
      ++i;
    }
  }
}
