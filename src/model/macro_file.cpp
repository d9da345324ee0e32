#include "model/macro_file.h"

#include "base/text.h"
#include "model/command_line.h"
#include "model/convert.h"

namespace zepx {

namespace {

const char* const kPrefixes[kMacroFieldCount] = {"Key:", "Click:", "Drag:",
                                                 "SftAltCtl:", "Loop:", "SendAPI:"};

// Position of the last byte of `path` that is one of `delims` and not the
// second half of a double-byte character; npos when there is none.
std::size_t LastDelimiter(const std::string& path, const char* delims) {
  std::size_t found = std::string::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsLeadByte(c) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    for (const char* d = delims; *d; ++d)
      if (path[i] == *d) found = i;
  }
  return found;
}

}  // namespace

const char* MacroFieldPrefix(MacroField f) { return kPrefixes[static_cast<int>(f)]; }

std::string WriteMacroFile(const std::vector<std::string>& lines, const MacroSettings& s) {
  std::string out = kMacroHeader;
  out += "\r\n";
  for (const std::string& line : lines) out += line + "\r\n";
  const std::int64_t values[kMacroFieldCount] = {s.key, s.click, s.drag, s.shift_alt_ctrl,
                                                 s.loop, s.send_api};
  for (int i = 0; i < kMacroFieldCount; ++i)
    out += std::string(kPrefixes[i]) + std::to_string(values[i]) + "\r\n";
  return out;
}

std::vector<std::string> SplitMacroLines(const std::string& bytes) {
  const std::size_t end = bytes.find('\x1A');
  const std::size_t size = end == std::string::npos ? bytes.size() : end;
  std::vector<std::string> lines;
  std::string current;
  bool pending = false;  // bytes seen since the last LF
  for (std::size_t i = 0; i < size; ++i) {
    const char c = bytes[i];
    if (c == '\n') {
      lines.push_back(std::move(current));
      current.clear();
      pending = false;
    } else {
      pending = true;
      if (c != '\r') current += c;
    }
  }
  if (pending) lines.push_back(std::move(current));
  return lines;
}

MacroReadResult ReadMacroFile(const std::string& bytes) {
  MacroReadResult r;
  bool header = false;
  int number = 0;
  for (const std::string& line : SplitMacroLines(bytes)) {
    ++number;
    auto fail = [&](MacroFailure f) {
      r.failure = f;
      r.failure_line = number;
      r.failure_text = line;
    };

    if (StartsWith(line, ";") || StartsWith(line, "//")) {
      if (line.compare(0, 13, kMacroHeaderMark) == 0) header = true;
      continue;
    }
    if (line.empty()) continue;
    if (IsCommandLine(line)) {
      r.lines.push_back(line);
      continue;
    }
    // A window-bound line that does not read whole is no command, whatever
    // words its title holds.
    if (StartsWith(line, kWindowMousePrefix)) {
      fail(MacroFailure::UnrecognisedLine);
      break;
    }

    // The prefix is looked for anywhere but the number is taken from just
    // past its length, so only a line that begins with it converts.
    if (Contains(line, kWaitPrefix)) {
      // Files from before the header existed kept waits in seconds. The
      // number checked is the one the list will hold: a wait in seconds too
      // large for milliseconds would give a line no run can read and no
      // save-and-load can bring back.
      const std::string kept = header ? line : line + "000";
      if (!TryStrToInt(line.substr(std::string(kWaitPrefix).size())) ||
          !TryStrToInt(kept.substr(std::string(kWaitPrefix).size()))) {
        fail(MacroFailure::BadNumber);
        break;
      }
      r.lines.push_back(kept);
      continue;
    }
    bool taken = false;
    for (int i = 0; i < kMacroFieldCount && !taken; ++i) {
      if (!Contains(line, kPrefixes[i])) continue;
      taken = true;
      auto value = TryStrToInt(line.substr(std::string(kPrefixes[i]).size()));
      if (!value) {
        fail(MacroFailure::BadNumber);
        break;
      }
      r.assignments.push_back({static_cast<MacroField>(i), *value});
    }
    if (!r.ok()) break;
    if (!taken) {
      fail(MacroFailure::UnrecognisedLine);
      break;
    }
  }
  return r;
}

std::string MacroReadResult::FailureMessage() const {
  switch (failure) {
    case MacroFailure::None:
      return {};
    case MacroFailure::UnrecognisedLine:
      return "マクロファイルが正しい形式ではありません.(コマンドとして認識できない文字列が記述されている)"
             "\r\n最新バージョンのZEPXを使用してもこのメッセージが表示される場合は、"
             "ファイルが破損している可能性があります.\r\n読み込みを中止します.\r\n\r\nErrorLine = " +
             std::to_string(failure_line) + "\r\nErrorString = " + failure_text;
    case MacroFailure::BadNumber:
      return "マクロファイルが正しい形式ではありません.(ウエイトの数値が整数ではない)"
             "\r\n読み込みを中止します.\r\n\r\nErrorLine = " +
             failure_text;
  }
  return {};
}

std::string ExtractFileName(const std::string& path) {
  const std::size_t d = LastDelimiter(path, "\\/:");
  return d == std::string::npos ? path : path.substr(d + 1);
}

std::string ExtractFileExt(const std::string& path) {
  const std::size_t d = LastDelimiter(path, ".\\/:");
  if (d == std::string::npos || path[d] != '.') return {};
  return path.substr(d);
}

std::string FileNotFoundMessage(const std::string& path) {
  return "ファイルが見つかりません.\r\n" + path;
}

bool IsShortcutPath(const std::string& path) {
  const std::string ext = ExtractFileExt(path);
  return ext == ".LNK" || ext == ".lnk";
}

}  // namespace zepx
