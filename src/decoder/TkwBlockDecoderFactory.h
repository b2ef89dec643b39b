// The block decoder a sound's header asks for.
#pragma once

#include "decoder/TkwBlockDecoder.h"

#include <memory>

struct TkwHeaderValues;

// A block decoder of the version the header names, with its parameters.
std::unique_ptr<TkwBlockDecoder> MakeTkwBlockDecoder(const TkwHeaderValues& header);
