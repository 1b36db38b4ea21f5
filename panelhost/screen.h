// The host's own screen: a buffer of cells the size of the console window that
// the host and the plug-ins draw into, put on the console in one write.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct Screen {
  HANDLE input = INVALID_HANDLE_VALUE;
  HANDLE output = INVALID_HANDLE_VALUE;
  int width = 0;
  int height = 0;
  std::vector<CHAR_INFO> cells;  // width * height, row by row
};

extern Screen screen;

// Takes the console for the host: raw key input (no processed input, so a
// Ctrl+C key event is a key like any other), code page 437 both ways, and a
// buffer exactly the size of the window. columns/rows of 0 keep the window's
// size. False, with a message, when there is no console.
bool OpenConsole(int columns, int rows, std::string* error);
void CloseConsole();

// Makes the buffer follow the window again after a resize; true when the
// screen's size changed.
bool FitConsole();

// Drawing into the buffer; everything outside the screen is left out.
void Put(int x, int y, int color, const char* text, int maxLength = -1);
void Fill(int x, int y, int count, char c, int color);
void FillRect(int left, int top, int right, int bottom, int color);
const CHAR_INFO* CellAt(int x, int y);  // null off the screen

// Puts the whole buffer on the console.
void Flush();
// What the console shows now, read back cell by cell.
std::vector<CHAR_INFO> ReadConsoleCells();
COORD ConsoleCursor();
void SetCursor(int x, int y);

// Saves and restores a rectangle of the buffer (for menus and dialogs).
struct SavedArea {
  int left, top, right, bottom;
  std::vector<CHAR_INFO> cells;
};
SavedArea SaveArea(int left, int top, int right, int bottom);
void RestoreArea(const SavedArea& area);
