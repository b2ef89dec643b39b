#include "encoder/WindowSums.h"

#include <algorithm>

WindowSums::WindowSums(const WorkingSignal& signal, const std::vector<int>& lengths, ChunkWorkspace* workspace)
    : signal_(signal) {
  if (!workspace) {
    owned_ = std::make_unique<ChunkWorkspace>();
    workspace = owned_.get();
  }
  for (int length : lengths)
    entries_.push_back(Entry{&workspace->Table(length, WorkingSignal::Entries(signal.Count())), 0});
}

WindowSums::Entry& WindowSums::Find(int length) {
  for (Entry& e : entries_)
    if (e.table->length == length) return e;
  return entries_.front();
}

WindowSums::Rows WindowSums::RowsFor(int length) const {
  const Entry* found = &entries_.front();
  for (const Entry& e : entries_)
    if (e.table->length == length) found = &e;
  return Rows{found->table->sum.data() + WorkingSignal::kHistory,
              found->table->squares.data() + WorkingSignal::kHistory};
}

void WindowSums::Bring(Entry& entry, int end) {
  end = std::min(end, signal_.Count() + WorkingSignal::kTail);
  if (end <= entry.valid) return;
  WindowTable& t = *entry.table;
  const int w = t.length;
  std::int32_t* sum = t.sum.data() + WorkingSignal::kHistory;
  double* squares = t.squares.data() + WorkingSignal::kHistory;
  // Running totals in integer registers: the same exact values, without a
  // floating-point addition on the chain from one position to the next.
  std::int32_t s = sum[entry.valid - 1];
  auto q = static_cast<std::int64_t>(squares[entry.valid - 1]);
  for (int p = entry.valid; p < end; ++p) {
    const std::int32_t in = signal_[p];
    const std::int32_t out = signal_[p - w];
    s += in - out;
    q += in * in - out * out;
    sum[p] = s;
    squares[p] = static_cast<double>(q);
  }
  entry.valid = end;
}

void WindowSums::EnsureUpTo(int end) {
  for (Entry& e : entries_)
    Bring(e, end);
}

void WindowSums::EnsureLength(int length, int end) { Bring(Find(length), end); }

void WindowSums::Invalidate(int position) {
  for (Entry& e : entries_)
    e.valid = std::min(e.valid, position);
}
