#include "encoder/WindowSums.h"

#include <algorithm>

WindowSums::WindowSums(const WorkingSignal& signal, const std::vector<int>& lengths) : signal_(signal) {
  const std::size_t entries = static_cast<std::size_t>(signal.Count()) + WorkingSignal::kHistory + WorkingSignal::kTail;
  for (int length : lengths)
    tables_.push_back(Table{length, std::vector<std::int32_t>(entries, 0), std::vector<std::int64_t>(entries, 0)});
}

WindowSums::Rows WindowSums::RowsFor(int length) const {
  const Table* found = &tables_.front();
  for (const Table& t : tables_)
    if (t.length == length) found = &t;
  return Rows{found->sum.data() + WorkingSignal::kHistory, found->squares.data() + WorkingSignal::kHistory};
}

void WindowSums::EnsureUpTo(int end) {
  end = std::min(end, signal_.Count() + WorkingSignal::kTail);
  if (end <= valid_) return;
  for (Table& t : tables_) {
    const int w = t.length;
    for (int p = valid_; p < end; ++p) {
      const std::int32_t in = signal_[p];
      const std::int32_t out = signal_[p - w];
      const std::size_t i = static_cast<std::size_t>(p + WorkingSignal::kHistory);
      t.sum[i] = t.sum[i - 1] + in - out;
      t.squares[i] = t.squares[i - 1] + (in * in - out * out);
    }
  }
  valid_ = end;
}

void WindowSums::Invalidate(int position) { valid_ = std::min(valid_, position); }
