// The native build's side of the plug-in's system services.
#include "tests/doubles/fake_system.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fake {
namespace {

System theSystem;

// Handles the plug-in gets back; any non-null value will do.
int inputTag, outputTag;

}  // namespace

System& ResetSystem() {
  theSystem = System{};
  return theSystem;
}

System& TheSystem() {
  return theSystem;
}

sys::ConsoleEvent KeyDown(uint32_t character, uint16_t virtualKey) {
  return sys::ConsoleEvent{sys::kKeyEvent, true, virtualKey, character};
}

sys::ConsoleEvent KeyUp(uint32_t character, uint16_t virtualKey) {
  return sys::ConsoleEvent{sys::kKeyEvent, false, virtualKey, character};
}

sys::ConsoleEvent MouseEvent() {
  return sys::ConsoleEvent{0x0002, false, 0, 0};
}

sys::ConsoleEvent FocusEvent() {
  return sys::ConsoleEvent{0x0010, false, 0, 0};
}

}  // namespace fake

namespace sys {

using fake::theSystem;

void Beep() {
  ++theSystem.beeps;
}

int FormatText(char* out, const char* format, const char* arg) {
  // wsprintfA never writes more than 1024 bytes.
  return std::snprintf(out, 1024, format, arg);
}

Handle StdInput() {
  ++theSystem.console.stdHandleRequests;
  return &fake::inputTag;
}

Handle StdOutput() {
  ++theSystem.console.stdHandleRequests;
  return &fake::outputTag;
}

bool ScreenBufferHeight(Handle output, int* rows) {
  if (output != &fake::outputTag || theSystem.console.bufferInfoFails) return false;
  *rows = theSystem.console.bufferRows;
  return true;
}

void SetCursorPosition(Handle output, int column, int row) {
  if (output == &fake::outputTag) theSystem.console.cursorMoves.emplace_back(column, row);
}

bool PeekInput(Handle input, ConsoleEvent* event) {
  fake::Console& console = theSystem.console;
  ++console.peeks;
  if (input != &fake::inputTag || console.inputFails) return false;
  if (console.queue.empty()) {
    // Nothing will ever arrive in a test: report the console as unreadable
    // rather than hang.
    ++console.waitsOnEmptyQueue;
    return false;
  }
  *event = console.queue.front();
  return true;
}

bool PeekInputUnicode(Handle input, ConsoleEvent* event) {
  return PeekInput(input, event);
}

bool RemoveInput(Handle input) {
  fake::Console& console = theSystem.console;
  if (input != &fake::inputTag || console.inputFails || console.queue.empty()) return false;
  console.queue.pop_front();
  ++console.removals;
  return true;
}

int ReadUserRegistryValue(const char* key, const char* value, uint8_t* buffer, uint32_t size) {
  auto found = theSystem.registry.find(std::string(key) + "\\" + value);
  if (found == theSystem.registry.end() || found->second.size() > size) return -1;
  if (!found->second.empty()) std::memcpy(buffer, found->second.data(), found->second.size());
  return static_cast<int>(found->second.size());
}

void* Allocate(size_t bytes) {
  return theSystem.allocationFails ? nullptr : std::malloc(bytes);
}

void Free(void* block) {
  std::free(block);
}

}  // namespace sys
