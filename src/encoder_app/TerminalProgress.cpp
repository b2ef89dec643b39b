#include "encoder_app/TerminalProgress.h"

#include "cli/TextWidth.h"
#include "platform/Console.h"

#include <algorithm>

namespace {

constexpr int kDefaultColumns = 80;
constexpr std::size_t kWideBar = 30;
constexpr std::size_t kNarrowBar = 10;
constexpr std::size_t kShortestName = 12;
constexpr std::size_t kShortestBar = 5;

} // namespace

std::string TerminalProgress::Line(int percent, const std::string& remaining, const std::string& file, int columns) {
  const std::size_t room = columns > 1 ? static_cast<std::size_t>(columns - 1) : 0;
  char number[8];
  std::snprintf(number, sizeof number, "%3d%%", std::clamp(percent, 0, 100));
  const std::string time = " 残り " + remaining;
  // The name gets what the bar leaves; a narrow terminal gets a shorter bar,
  // or none, before the time is cut.
  const std::size_t fixed = cli::DisplayWidth(number) + 3 + cli::DisplayWidth(time) + 2;
  std::size_t barWidth = kWideBar;
  if (fixed + barWidth + kShortestName > room) {
    const std::size_t spare = room > fixed ? room - fixed : 0;
    barWidth = spare > kShortestName + kNarrowBar ? spare - kShortestName : std::min(spare, kNarrowBar);
  }
  std::string line = number;
  if (barWidth >= kShortestBar) {
    const std::size_t filled = static_cast<std::size_t>(std::clamp(percent, 0, 100)) * barWidth / 100;
    line += " [" + std::string(filled, '#') + std::string(barWidth - filled, '-') + "]";
  }
  line += time;
  const std::size_t used = cli::DisplayWidth(line) + 2;
  if (used + 8 <= room) line += "  " + cli::FitEnd(file, room - used);
  return cli::FitStart(line, room);
}

void TerminalProgress::ShowFiles(const char* wavePath, const char*) {
  std::lock_guard lock(mutex_);
  file_ = wavePath;
}

void TerminalProgress::ShowProgress(int percent, const std::string& remaining) {
  std::lock_guard lock(mutex_);
  percent_ = percent;
  remaining_ = remaining;
  Draw();
}

void TerminalProgress::AppendLogLine(const char* line) {
  std::lock_guard lock(mutex_);
  Erase();
  reporter_.Info(line);
  Draw();
}

void TerminalProgress::Finish() {
  std::lock_guard lock(mutex_);
  Erase();
  bar_ = nullptr;
}

void TerminalProgress::Draw() {
  if (!bar_ || file_.empty()) return;
  int columns = plat::terminalColumns(bar_);
  if (columns <= 0) columns = kDefaultColumns;
  // Written first, then the rest of the old line cleared: no flicker.
  std::fprintf(bar_, "\r%s\033[K", Line(percent_, remaining_, file_, columns).c_str());
  std::fflush(bar_);
  drawn_ = true;
}

void TerminalProgress::Erase() {
  if (!drawn_ || !bar_) return;
  std::fputs("\r\033[K", bar_);
  std::fflush(bar_);
  drawn_ = false;
}
