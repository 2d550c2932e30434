#include "http/header_folding.h"

#include "base/text.h"

namespace pelmorix {
namespace {

constexpr char kBreak[] = "\r\n ";
constexpr size_t kBreakLength = 3;

bool IsBreakCandidate(char c) { return c == '\t' || c == ' ' || c == ','; }
bool IsSkippedAfterBreak(char c) { return IsBreakCandidate(c) || c == '\r' || c == '\n'; }

// Inserts CR LF + space after break candidates so that no piece runs past the width where a
// candidate allows it. Positions are 0-based; a break position of npos means none yet.
std::string WrapAtCandidates(const std::string& line, size_t width) {
  const size_t length = line.size();
  std::string result;
  result.reserve(length + length / (width > 0 ? width : 1) * kBreakLength);
  size_t column = 1;      // column of the next character in the current piece
  size_t pos = 0;         // scan position
  size_t pieceStart = 0;  // first character of the current piece
  size_t breakPos = std::string::npos;
  bool inQuotes = false;
  while (pos < length) {
    const char c = line[pos];
    bool forced = false;
    if (c == '\r') {
      if (!inQuotes && line.compare(pos, kBreakLength, kBreak) == 0) {
        forced = true;
        pos += kBreakLength - 1;
        breakPos = pos;
      }
    } else if (IsBreakCandidate(c)) {
      if (!inQuotes) breakPos = pos;
    } else if (c == '"') {
      inQuotes = !inQuotes;
    }
    ++pos;
    ++column;
    const bool candidateInPiece = breakPos != std::string::npos && breakPos > pieceStart;
    if (inQuotes || !(forced || (column > width && candidateInPiece))) continue;
    column = pos - breakPos;
    result.append(line, pieceStart, breakPos - pieceStart + 1);
    while (pos < length && IsSkippedAfterBreak(line[pos])) ++pos;
    if (!forced && pos + 1 < length) result.append(kBreak, kBreakLength);
    pieceStart = breakPos + 1;
  }
  if (pieceStart < length) result.append(line, pieceStart, std::string::npos);
  return result;
}

}  // namespace

std::vector<std::string> FoldLine(const std::string& line, int width) {
  const std::string wrapped = WrapAtCandidates(line, width > 0 ? static_cast<size_t>(width) : 0);
  std::vector<std::string> pieces;
  size_t start = 0;
  while (true) {
    const size_t end = wrapped.find("\r\n", start);
    const size_t stop = end == std::string::npos ? wrapped.size() : end;
    std::string piece = TrimRight(std::string_view(wrapped).substr(start, stop - start));
    // A continuation of nothing but blanks trims to an empty line, and an empty line would end
    // the head it is sent in; what it held is gone with the trimming anyway.
    if (pieces.empty() || !piece.empty()) pieces.push_back(std::move(piece));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return pieces;
}

}  // namespace pelmorix
