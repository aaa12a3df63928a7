#pragma once
// Turns arbitrary bytes into the lines the fuzz target feeds to the command
// loop, and tells what the engine must answer to them. Shared by the fuzz
// target and by the regression test that replays the findings through the
// real binary, so that both see exactly the same conversation.
//
// Searches are kept small here, never inside the engine: a "go" line is
// rewritten so that its depth is at most kFuzzDepth, "infinite" becomes that
// depth, clocks below one second and move times below 10 ms give a single
// iteration; and a "stop" follows every "go" (after any "isready" lines) unless
// the input itself sends "stop" or "quit" there, so that a capture search that
// explodes is cut at the first input poll. Hash sizes are capped at kFuzzHash
// megabytes so that each input stays cheap.
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "uci/uci.h"

constexpr int kFuzzDepth = 3;
constexpr int kFuzzHash = 16;
constexpr int kFuzzClockMs = 999;
constexpr int kFuzzMoveTimeMs = 9;

// One line as the command loop sees it: the bytes up to a NUL (every command
// test is a C-string test) without the carriage return before the line feed.
inline std::string FuzzCommandText(const std::string& raw) {
  std::string s(raw.c_str());
  if (raw.size() == s.size() && !s.empty() && s.back() == '\r') s.pop_back();
  return s;
}

inline bool FuzzStartsWith(const std::string& s, const char* prefix) {
  return s.compare(0, std::strlen(prefix), prefix) == 0;
}

inline std::vector<std::string> FuzzSplitSpaces(const std::string& s) {
  std::vector<std::string> tokens;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && s[i] == ' ') ++i;
    size_t start = i;
    while (i < s.size() && s[i] != ' ') ++i;
    if (i > start) tokens.push_back(s.substr(start, i - start));
  }
  return tokens;
}

// The same parameters in the same order as the "go" reader takes them, with
// the values that would make a long search replaced.
inline std::string FuzzRewriteGo(const std::string& line) {
  std::vector<std::string> tokens = FuzzSplitSpaces(line);
  if (tokens.empty()) return line;
  std::string out = tokens[0];
  for (size_t i = 1; i < tokens.size(); ++i) {
    const std::string& word = tokens[i];
    if (word == "infinite") {
      out += " depth ";
      out += std::to_string(kFuzzDepth);
      continue;
    }
    out += ' ';
    out += word;
    int cap = -1;
    if (word == "depth") cap = kFuzzDepth;
    else if (word == "wtime" || word == "btime") cap = kFuzzClockMs;
    else if (word == "movetime") cap = kFuzzMoveTimeMs;
    else if (word != "winc" && word != "binc" && word != "movestogo") continue;
    if (i + 1 == tokens.size()) break;
    const std::string& value = tokens[++i];
    out += ' ';
    out += cap >= 0 && ReadDecimal(value.c_str()) > cap ? std::to_string(cap) : value;
  }
  return out;
}

inline std::string FuzzRewriteSetOption(const std::string& line) {
  size_t found = line.find("Hash value ");
  if (found == std::string::npos) return line;
  size_t value = found + 11;
  if (ReadDecimal(line.c_str() + value) <= kFuzzHash) return line;
  std::string out = line.substr(0, value);
  out += std::to_string(kFuzzHash);
  return out;
}

// The lines of the conversation, each without its line feed. Input after a
// line the reader would refuse (65,536 characters or more) is never read by
// the engine and is left out.
inline std::vector<std::string> FuzzScriptLines(const char* data, size_t size) {
  std::vector<std::string> raw;
  size_t start = 0;
  while (start < size) {
    const void* lf = std::memchr(data + start, '\n', size - start);
    size_t end = lf ? static_cast<size_t>(static_cast<const char*>(lf) - data) : size;
    raw.emplace_back(data + start, end - start);
    if (raw.back().size() >= 65535) {
      raw.pop_back();
      break;
    }
    start = end + 1;
  }

  std::vector<std::string> lines;
  for (size_t i = 0; i < raw.size(); ++i) {
    const std::string text = FuzzCommandText(raw[i]);
    if (FuzzStartsWith(text, "go")) {
      lines.push_back(FuzzRewriteGo(text));
      // "isready" may wait in the pipe during the search; then a stop.
      size_t j = i + 1;
      while (j < raw.size() && FuzzCommandText(raw[j]) == "isready") lines.push_back(raw[j++]);
      if (j == raw.size() || (FuzzCommandText(raw[j]) != "stop" && FuzzCommandText(raw[j]) != "quit"))
        lines.push_back("stop");
      i = j - 1;
    } else if (FuzzStartsWith(text, "setoption ")) {
      lines.push_back(FuzzRewriteSetOption(text));
    } else {
      lines.push_back(raw[i]);
    }
  }
  return lines;
}

inline std::string FuzzScript(const char* data, size_t size) {
  std::string script;
  for (const std::string& line : FuzzScriptLines(data, size)) script += line + "\n";
  return script;
}

// What the engine does with one line of the script, as far as the checks go.
enum class FuzzLine { kOther, kPosition, kGo, kEnds };

// kEnds: the process ends at this line ("quit", or a Hash value while no
// table exists: only "uci" and a first "go" create one). table_exists is updated.
inline FuzzLine FuzzClassify(const std::string& raw, bool* table_exists) {
  const std::string s = FuzzCommandText(raw);
  if (s == "uci") *table_exists = true;
  if (s == "quit") return FuzzLine::kEnds;
  if (FuzzStartsWith(s, "setoption ")) {
    size_t found = s.find("Hash value ");
    if (found != std::string::npos && ReadDecimal(s.c_str() + found + 11) != -1 && !*table_exists)
      return FuzzLine::kEnds;
    return FuzzLine::kOther;
  }
  if (FuzzStartsWith(s, "position ")) return FuzzLine::kPosition;
  if (FuzzStartsWith(s, "go")) {
    *table_exists = true;
    return FuzzLine::kGo;
  }
  return FuzzLine::kOther;
}
