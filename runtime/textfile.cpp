#include "runtime/textfile.h"

#include "runtime/failure.h"

namespace rt {

void OpenInputFile(InputFile& file, const std::string& name, char* buffer,
                   std::size_t capacity, std::size_t headroom) {
  os::Handle h;
  if (os::Error e = os::OpenInput(name, &h)) FailInOut(e, RT_CALLER_ADDRESS());
  AttachInputFile(file, h, buffer, capacity);
  file.headroom = headroom;
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

void SinkPutRun(ByteSink& sink, char* data, std::size_t size, std::size_t front) {
  constexpr std::size_t kBlock = 128;
  if (sink.write == nullptr || size < kBlock) {
    SinkPut(sink, data, size);
    return;
  }
  if (sink.used > 0 && sink.used <= front) {
    data -= sink.used;
    std::memcpy(data, sink.buffer, sink.used);
    size += sink.used;
    sink.used = 0;
  } else if (sink.used > 0) {
    // The run is at least one block long, so it can top the buffer up.
    std::size_t fill = (kBlock - sink.used % kBlock) % kBlock;
    SinkPut(sink, data, fill);
    data += fill;
    size -= fill;
    std::size_t n = sink.used;
    sink.used = 0;
    if (n > 0) sink.write(sink, sink.buffer, n);
  }
  std::size_t whole = size - size % kBlock;
  if (whole > 0) sink.write(sink, data, whole);
  SinkPut(sink, data + whole, size - whole);
}

static void WriteOutputBytes(ByteSink& sink, const char* data, std::size_t size) {
  auto* file = static_cast<OutputFile*>(sink.context);
  if (os::Error e = os::Write(file->handle, data, size)) FailInOut(e, RT_CALLER_ADDRESS());
}

static void FlushOutputSink(ByteSink& sink) {
  std::size_t n = sink.used;
  sink.used = 0;
  WriteOutputBytes(sink, sink.buffer, n);
}

os::Error CreateOutputFile(OutputFile& file, const std::string& name,
                           const InputFile& input, char* buffer, std::size_t capacity) {
  file = OutputFile{};
  if (os::Error e = os::CreateOutput(name, input.handle, &file.handle)) return e;
  file.sink.buffer = buffer;
  file.sink.capacity = capacity;
  file.sink.flush = FlushOutputSink;
  file.sink.write = WriteOutputBytes;
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
