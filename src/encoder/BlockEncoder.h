// What the chunk loop needs of a version's block encoder.
#pragma once

#include "encoder/CandidateKernels.h"
#include "format/TkwBitWriter.h"

class ChunkWorkspace;

// How a block encoder searches: the plain loops (no kernel: the reference
// every faster path is compared with) or a batch kernel with the lower
// bound; and the memory it may reuse.
struct SearchOptions {
  BatchKernel kernel = nullptr;
  ChunkWorkspace* workspace = nullptr;
};

class BlockEncoder {
public:
  virtual ~BlockEncoder() = default;
  // Looks for a copy block at p; true when one was found.
  virtual bool Match(int p) = 0;
  // The fields after the kind bit 1 of the block found.
  virtual void WriteFields(TkwBitWriter& writer) const = 0;
  // Replaces the block's working samples by what the decoder produces.
  virtual void Reconstruct(int p) = 0;
  virtual int BlockLength() const = 0;
  // Puts the literal block at p (after its kind bit 0) and returns its length.
  virtual int WriteLiteral(TkwBitWriter& writer, int p) = 0;
};
