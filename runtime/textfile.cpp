#include "runtime/textfile.h"

#include "runtime/failure.h"

namespace rt {

void OpenInputFile(InputFile& file, const std::string& name, char* buffer,
                   std::size_t capacity) {
  os::Handle h;
  if (os::Error e = os::OpenInput(name, &h)) FailInOut(e, RT_CALLER_ADDRESS());
  AttachInputFile(file, h, buffer, capacity);
}

void AttachInputFile(InputFile& file, os::Handle handle, char* buffer,
                     std::size_t capacity) {
  file = InputFile{};
  file.handle = handle;
  file.buffer = buffer;
  file.capacity = capacity;
}

bool FillInput(InputFile& file) {
  if (file.pos < file.len) return true;
  file.pos = file.len = 0;
  if (file.endOfFile) return false;
  std::size_t got = 0;
  if (os::Error e = os::Read(file.handle, file.buffer, file.capacity, &got))
    FailInOut(e, RT_CALLER_ADDRESS());
  file.len = got;
  if (got == 0) file.endOfFile = true;
  return got != 0;
}

bool AtEndOfInput(InputFile& file) {
  return !FillInput(file) || file.buffer[file.pos] == kEndOfText;
}

std::string ReadLine(InputFile& file, std::size_t keep) {
  std::string line;
  while (FillInput(file)) {
    char c = file.buffer[file.pos];
    if (c == kEndOfText) break;  // left unread: the input has ended
    ++file.pos;
    if (c == '\n') break;
    if (c == '\r') continue;  // a CR is never part of a line
    if (line.size() < keep) line.push_back(c);
  }
  return line;
}

void CloseInputFile(InputFile& file) {
  if (os::Error e = os::Close(file.handle)) FailInOut(e, RT_CALLER_ADDRESS());
  file.handle = os::kNoHandle;
}

static void FlushOutputSink(ByteSink& sink) {
  auto* file = static_cast<OutputFile*>(sink.context);
  std::size_t n = sink.used;
  sink.used = 0;
  if (os::Error e = os::Write(file->handle, sink.buffer, n)) FailInOut(e, RT_CALLER_ADDRESS());
}

os::Error CreateOutputFile(OutputFile& file, const std::string& name,
                           const InputFile& input, char* buffer, std::size_t capacity) {
  file = OutputFile{};
  if (os::Error e = os::CreateOutput(name, input.handle, &file.handle)) return e;
  file.sink.buffer = buffer;
  file.sink.capacity = capacity;
  file.sink.flush = FlushOutputSink;
  file.sink.context = &file;
  return {};
}

void WriteLine(OutputFile& file, std::string_view line) {
  SinkPut(file.sink, line.data(), line.size());
  SinkPut(file.sink, "\r\n", 2);
}

void CloseOutputFile(OutputFile& file) {
  if (file.sink.used > 0) FlushOutputSink(file.sink);
  if (os::Error e = os::Close(file.handle)) FailInOut(e, RT_CALLER_ADDRESS());
  file.handle = os::kNoHandle;
}

}  // namespace rt
