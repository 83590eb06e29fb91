// Text files read and written by the line rules: a line ends at LF, a CR is
// never part of a line, 0x1A ends the input, and every line written ends in
// CR LF. Every failed operation ends the run with the failure report.
#ifndef ROWPLUCK_RUNTIME_TEXTFILE_H
#define ROWPLUCK_RUNTIME_TEXTFILE_H

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/os.h"

namespace rt {

inline constexpr char kEndOfText = 0x1A;

// An input read in blocks into a buffer the caller provides. Bytes
// buffer[pos, len) are read from the file and not yet taken.
struct InputFile {
  os::Handle handle = os::kNoHandle;
  char* buffer = nullptr;
  std::size_t capacity = 0;
  std::size_t pos = 0;
  std::size_t len = 0;
  bool endOfFile = false;  // the file has no bytes beyond buffer[len)
  // Bytes in front of `buffer` that belong to the reader's owner and that
  // it may overwrite at will (see SinkPutRun).
  std::size_t headroom = 0;
};

// Opens `name` for reading; a failure ends the run with the failure report.
void OpenInputFile(InputFile& file, const std::string& name, char* buffer,
                   std::size_t capacity, std::size_t headroom = 0);

// Standard input as a text file.
void AttachInputFile(InputFile& file, os::Handle handle, char* buffer,
                     std::size_t capacity);

// Makes at least one unread byte available unless the file is at its end;
// false at the end of the file.
bool FillInput(InputFile& file);

// Whether the next byte lies past the end of the file or is 0x1A. Looks
// ahead without taking anything.
bool AtEndOfInput(InputFile& file);

// Reads one line without its line end; at the end of the input, the empty
// line. Only the first `keep` bytes of the line are stored; the rest is
// read and passed over, so a line never grows the process.
std::string ReadLine(InputFile& file, std::size_t keep = std::string::npos);

void CloseInputFile(InputFile& file);

// A buffer in front of an output. `flush` writes buffer[0, used) and sets
// used to 0; the sink calls it only when the buffer is full, so a file cut
// short by a failure holds whole buffers only. `write`, when set, writes
// bytes straight to the output; SinkPutRun hands it whole 128-byte blocks
// only, so such a file still holds whole 128-byte blocks only.
struct ByteSink {
  char* buffer = nullptr;
  std::size_t capacity = 0;
  std::size_t used = 0;
  void (*flush)(ByteSink& sink) = nullptr;
  void* context = nullptr;
  void (*write)(ByteSink& sink, const char* data, std::size_t size) = nullptr;
};

inline void SinkPut(ByteSink& sink, const char* data, std::size_t size) {
  while (size > sink.capacity - sink.used) {
    std::size_t room = sink.capacity - sink.used;
    std::memcpy(sink.buffer + sink.used, data, room);
    sink.used = sink.capacity;
    data += room;
    size -= room;
    sink.flush(sink);
  }
  std::memcpy(sink.buffer + sink.used, data, size);
  sink.used += size;
}

// Runs at least this long are worth a write of their own instead of a
// copy into the buffer.
inline constexpr std::size_t kLongRun = 16 * 1024;

// Puts the `size` bytes at `data`, as SinkPut does, but without copying
// the run through the buffer when the sink can write directly: what the
// buffer holds is moved into the `front` bytes before `data` (free memory
// the caller owns) when it fits there, so that buffered bytes and run leave
// in one write; otherwise the buffer is topped up to a whole 128-byte block
// and written first. Only the last part of the run that does not fill a
// 128-byte block stays in the buffer.
void SinkPutRun(ByteSink& sink, char* data, std::size_t size, std::size_t front);

struct OutputFile {
  os::Handle handle = os::kNoHandle;
  ByteSink sink;
};

// Creates `name` (or cuts it to length 0) for writing through `buffer`,
// whose size must be a multiple of 128. Refuses the file open as `input`
// under any name. Returns the failure instead of reporting it: the caller
// has its own message for it.
os::Error CreateOutputFile(OutputFile& file, const std::string& name,
                           const InputFile& input, char* buffer, std::size_t capacity);

// Writes `line` followed by CR LF.
void WriteLine(OutputFile& file, std::string_view line);

// Writes out the buffered rest, then closes.
void CloseOutputFile(OutputFile& file);

}  // namespace rt

#endif  // ROWPLUCK_RUNTIME_TEXTFILE_H
