// TLZH: the block codec of skins and compressed INI files. LZSS over a 4096-byte ring buffer
// whose symbols (256 literals and the match lengths 3..60) share one adaptive Huffman code;
// a match position is a fixed prefix code for its upper six bits plus six plain bits. This is
// the public LZHUF scheme with its usual constants: the encoder writes, bit for bit, what
// LZHUF writes, and the decoder reads any LZHUF stream.
//
// A compressed block is: a signed 32-bit little-endian uncompressed size, then the bit stream
// (most significant bit first, the last byte padded with zero bits; no trailer, no checksum).
//
// Safety contract of the decoder, for any input bits and any announced size:
//  - it never reads or writes outside its own tables and the output room it was given (every
//    ring index is masked, every tree index comes from the tree it built itself; the memory
//    decoders take their history from the output already written, and a match that reaches
//    back before the first byte reads the ring's starting content instead);
//  - input that ends early reads as zero bytes: decoding goes on to the announced size and the
//    result is garbage, without an error (InputTruncated() tells that it happened);
//  - it writes at least TextSize bytes and at most TextSize + 59 (a match is always copied to
//    its end); a TextSize of 0 or less writes nothing;
//  - DecompressBlock refuses an announced size above the caller's limit with ElzhException
//    before it writes anything, so a damaged size field cannot make it produce gigabytes.
// The ring's bytes past the 4036 starting spaces start as zeros (as in LZHUF); only a damaged
// block can make the decoder copy them.
// The codec is not thread-safe per object; separate TLZH objects are independent.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

#include "skin/data/SkinStream.h"

namespace lbb::skin {

// Raised when the working tables cannot be had (kLzhNoMemory), for a block whose announced size
// is above the caller's limit, and for a block shorter than its 4-byte size field.
class ElzhException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kLzhNoMemory = "LZH : Cannot get memory for dictionary tables";
// Kept for completeness: releasing the tables cannot fail in this implementation.
inline constexpr const char* kLzhFreeError = "LZH : Error freeing memory for dictionary tables";

// Read callback: copy up to NBytes bytes to DTA and report how many in Bytes_Got (0 = end).
using TGetBytesProc = std::function<void(uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Got)>;
// Write callback: write all NBytes bytes of DTA (Bytes_Put reports how many).
using TPutBytesProc = std::function<void(const uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Put)>;

class TLZH {
 public:
  static constexpr int N = 4096;       // ring buffer size
  static constexpr int F = 60;         // longest match
  static constexpr int THRESHOLD = 2;  // longer matches than this are coded as matches
  static constexpr int N_CHAR = 314;   // symbols: 256 literals + lengths 3..60 (253 + length)
  static constexpr int T = 627;        // nodes of the Huffman tree
  static constexpr int R = 626;        // root node
  static constexpr unsigned MAX_FREQ = 0x8000;  // root frequency that triggers a rebuild
  static constexpr int NIL = N;                 // no node in the match-finder trees
  static constexpr uint8_t FILL = 0x20;         // the first N - F ring bytes start as spaces

  TLZH();
  ~TLZH();
  TLZH(const TLZH&) = delete;
  TLZH& operator=(const TLZH&) = delete;

  // Streams of GetBlockStream / PutBlockStream; set by the caller, not owned.
  TStream* StreamIn = nullptr;
  TStream* StreamOut = nullptr;

  // Decodes until TextSize bytes have been written (see the contract above). Each byte goes
  // out through one call of PutBytes with a count of 1. An exception from a callback passes
  // through; the tables are released on every path.
  void LZHUnpack(int32_t TextSize, const TGetBytesProc& GetBytes, const TPutBytesProc& PutBytes);
  // The same decode of the bits in [in, in + length) into `out` (from its position on)
  // without the callbacks: the path of the block helper from memory to memory. Past the end
  // of the input it reads zeros as LZHUnpack does. Returns the number of input bytes that
  // LZHUnpack would have read (it reads ahead in whole words, LZHUnpack a byte at a time).
  size_t DecodeMemory(int32_t TextSize, const uint8_t* in, size_t length, TMemoryStream& out);
  // Room past TextSize that DecodeBuffer needs in its output: a damaged last match runs over by
  // up to F - 1 bytes, and the match copy stores whole 8-byte words.
  static constexpr size_t kDecodeSlack = 64;
  // The same decode into a plain buffer with room for TextSize + kDecodeSlack bytes, for a
  // caller that owns its output memory. Returns the number of bytes written (TextSize up to
  // TextSize + F - 1; nothing for a TextSize of 0 or less); InputTruncated() tells afterwards
  // whether the bits ran out.
  size_t DecodeBuffer(int32_t TextSize, const uint8_t* in, size_t length, uint8_t* out);
  // The same decode handing the output to `sink` in pieces of about `chunk` bytes (all the
  // bytes written, TextSize up to TextSize + F - 1), through a buffer of its own: for a caller
  // that passes large output on (to a file) and need not hold it all in memory.
  using TChunkSink = std::function<void(const uint8_t* data, size_t size)>;
  void DecodeChunks(int32_t TextSize, const uint8_t* in, size_t length, const TChunkSink& sink,
                    size_t chunk = size_t{1} << 20);
  // Encodes everything GetBytes delivers until it reports 0 bytes (asking for up to 4096 bytes
  // a call); Bytes_Written receives the number of input bytes consumed. Empty input writes no
  // bits at all.
  void LZHPack(int32_t& Bytes_Written, const TGetBytesProc& GetBytes,
               const TPutBytesProc& PutBytes);
  // The same encode of [in, in + length), appending the bits to `out` at its position, without
  // the callbacks: the path of the block helper from memory to memory. textsize and codesize
  // tell the figures afterwards.
  void EncodeMemory(const uint8_t* in, size_t length, TMemoryStream& out);

  // The callbacks over StreamIn and StreamOut: delivers min(NBytes, size - position) bytes /
  // writes all NBytes bytes.
  void GetBlockStream(uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Got);
  void PutBlockStream(const uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Got);

  // Diagnostics: when set, the decoder reports every symbol it decodes, after the tree was
  // updated for it: a literal byte (0..255) with Position -1, or a match length symbol
  // (256..313, length = Symbol - 253) with its position code (distance - 1).
  std::function<void(int Symbol, int Position)> OnSymbol;

  // Figures of the last call: input bytes the encoder consumed, bytes it wrote.
  uint32_t textsize = 0;
  uint32_t codesize = 0;
  // How many times the last call rebuilt its Huffman tree.
  int Rebuilds() const { return rebuilds_; }
  // The longest symbol code the last pack wrote, in bits. The adaptive tree can grow deeper
  // than 16 levels (codes up to about 24 bits); every code is written whole.
  int LongestCode() const { return longest_code_; }
  // True when the last decode needed bits beyond the end of its input.
  bool InputTruncated() const { return missing_bytes_ * 8 > getlen_; }

 private:
  friend struct TLZHTestAccess;  // lets tests drive the tree symbol by symbol
  struct Tables;
  class BitReader;
  static constexpr int kPathMax = 48;  // longest code the memory decoder walks in one go

  void AllocTables();
  void FreeTables();
  // The tables of one pack or unpack, with the tree started; they go when the scope goes.
  struct TableScope {
    TLZH* z;
    ~TableScope() { z->FreeTables(); }
  };
  [[nodiscard]] TableScope OpenTables();
  void StartTree();
  void UpdateTree(int c);
  void UpdatePath(int c, const int16_t* path, int length);
  void UpdateFrom(int n);
  int DecodeSymbolFrom(BitReader& bits);
  void RebuildTree();
  int ReadBit();
  int ReadByte();
  void Refill();
  int DecodeSymbol();
  int DecodePosition();
  void InitMatchTrees();
  void InsertString(int r);
  void DeleteString(int p);
  void ReplaceNode(int p, int r);
  void PutBits(int l, uint32_t c);
  void EncodeSymbol(int c);
  void EncodePosition(unsigned p);
  void FlushBits();
  void PutByte(uint8_t b);
  int GetByte(bool& got);
  void ResetState();
  void EncodeLoop(int len);
  // The encoder shared by LZHPack and EncodeMemory, on the input set up by them.
  void Pack();
  // The decode loop of LZHUnpack.
  void Unpack(int32_t TextSize);
  static void CopyFromStart(uint8_t* out, int64_t count, int distance, int length);
  int64_t DecodeSymbols(BitReader& bits, uint8_t* out, int64_t count, int64_t stop);
  template <typename Decode>
  void RunMemoryDecode(const uint8_t* in, size_t length, Decode&& decode);
  static constexpr int64_t kChunkHistory = N;  // window bytes kept for the next matches
  void CountClassicReads(size_t length);

  std::unique_ptr<Tables> t_;
  const TGetBytesProc* get_ = nullptr;
  const TPutBytesProc* put_ = nullptr;
  // The encoder's output when it writes to memory instead of the callback (null otherwise).
  TMemoryStream* mem_out_ = nullptr;

  uint32_t getbuf_ = 0;  // input bits, left-aligned
  int getlen_ = 0;
  uint32_t putbuf_ = 0;  // output bits, left-aligned
  int putlen_ = 0;
  int16_t match_position_ = 0;
  int16_t match_length_ = 0;
  uint32_t code_ = 0;           // last symbol code, left-aligned
  int len_ = 0;                 // its length in bits
  int64_t missing_bytes_ = 0;   // input bytes the decoder read as zeros past the end
  uint64_t consumed_bits_ = 0;  // bits the memory decoder took, zeros past the end included
  size_t input_read_ = 0;       // input bytes the memory decoder counts as read
  bool input_ended_ = false;    // no more encoder input than [in_next_, in_end_)
  static constexpr int kInBlock = 4096;
  const uint8_t* in_next_ = nullptr;  // unread part of the encoder's input
  const uint8_t* in_end_ = nullptr;
  int rebuilds_ = 0;
  int longest_code_ = 0;
};

// Default limit of DecompressBlock: 64 MiB, far above any skin or INI file.
inline constexpr int64_t kLzhDefaultMaxSize = int64_t{64} << 20;

// Result of DecompressBlock.
struct TLzhBlockInfo {
  int32_t AnnouncedSize = 0;    // the block's 4-byte size field
  int64_t Written = 0;          // bytes written to the destination
  bool InputTruncated = false;  // the bit stream ended before decoding did
};

// Decodes one compressed block: both positions are set to 0, the 4-byte size is read from
// `source` and LZHUnpack writes to `dest`. Throws ElzhException when `source` is shorter than
// 4 bytes or the announced size exceeds `maxSize` (nothing is written then).
TLzhBlockInfo DecompressBlock(TStream& source, TStream& dest, int64_t maxSize = kLzhDefaultMaxSize);
// Encodes all of `source` into one compressed block: both positions are set to 0, the
// source's size is written as 4 bytes, then LZHPack runs. Throws ElzhException for a source
// of 2 GiB or more (its size would not fit the size field).
void CompressBlock(TStream& source, TStream& dest);
// The same block from memory: [in, in + length) is encoded in place and the block written to
// `dest` at its position, without a callback per byte.
void CompressBlock(const uint8_t* in, size_t length, TMemoryStream& dest);

}  // namespace lbb::skin
