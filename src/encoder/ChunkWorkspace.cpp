#include "encoder/ChunkWorkspace.h"

std::int16_t* ChunkWorkspace::Signal(std::size_t entries) {
  // A larger chunk than before gets fresh zeroed memory: the history must be 0.
  if (signal_.size() < entries) signal_.assign(entries, 0);
  return signal_.data();
}

WindowTable& ChunkWorkspace::Table(int length, std::size_t entries) {
  for (auto& table : tables_) {
    if (table->length != length) continue;
    if (table->sum.size() < entries) {
      table->sum.assign(entries, 0);
      table->squares.assign(entries, 0);
    }
    return *table;
  }
  tables_.push_back(std::make_unique<WindowTable>());
  WindowTable& table = *tables_.back();
  table.length = length;
  table.sum.assign(entries, 0);
  table.squares.assign(entries, 0);
  return table;
}
