// Decodes one MessagePack object into msgpack-cxx's object form, in one recursive pass.
//
// The result is what msgpack::unpack gives with a reference function that keeps strings and
// binary data in the buffer: the same types and values (a signed integer of 0 or more is a
// positive integer; a float32 stays FLOAT32), arrays and maps in `zone`, strings, binary and
// extension data pointing into `data`, which must outlive the object. The same limits apply and
// the same exceptions are thrown: msgpack::insufficient_bytes for a buffer that ends inside the
// object, msgpack::parse_error for the unused byte 0xc1, the *_size_overflow errors of the limits.
// A pack file holds hundreds of thousands of small objects; msgpack::unpack's general state
// machine and its per-call stack cost as much as everything else the loader does with them.
#pragma once

#include <cstddef>

#include <msgpack.hpp>

namespace kxmsgpack {

// Decodes the object at `offset` and moves `offset` past it.
msgpack::object unpackObject(msgpack::zone& zone, const char* data, std::size_t size, std::size_t& offset,
                             const msgpack::unpack_limit& limit);

} // namespace kxmsgpack
