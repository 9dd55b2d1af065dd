#include "skin/data/WinConvert.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>
#include <new>
#include <string>

#include "skin/data/LzhTables.h"

namespace lbb::skin {

using lzh_detail::kPos;

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

void TLZH::AllocTables() {
  try {
    t_ = std::make_unique<Tables>();  // zeroed: the ring beyond the spaces starts as zeros
  } catch (const std::bad_alloc&) {
    throw ElzhException(kLzhNoMemory);
  }
}

void TLZH::FreeTables() {
  t_.reset();
}

TLZH::TableScope TLZH::OpenTables() {
  AllocTables();
  StartTree();
  return TableScope{this};
}

void TLZH::ResetState() {
  getbuf_ = 0;
  getlen_ = 0;
  putbuf_ = 0;
  putlen_ = 0;
  textsize = 0;
  codesize = 0;
  match_position_ = 0;
  match_length_ = 0;
  code_ = 0;
  len_ = 0;
  missing_bytes_ = 0;
  consumed_bits_ = 0;
  input_read_ = 0;
  rebuilds_ = 0;
  longest_code_ = 0;
}

// ---- Adaptive Huffman tree ----

void TLZH::StartTree() {
  Tables& t = *t_;
  for (int i = 0; i < N_CHAR; ++i) {
    t.freq[i] = 1;
    t.son[i] = static_cast<int16_t>(i + T);
    t.prnt[i + T] = static_cast<int16_t>(i);
  }
  for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    t.freq[j] = t.freq[i] + t.freq[i + 1];
    t.son[j] = static_cast<int16_t>(i);
    t.prnt[i] = t.prnt[i + 1] = static_cast<int16_t>(j);
  }
  t.freq[T] = 0xFFFF;
  t.prnt[R] = 0;
}

void TLZH::RebuildTree() {
  Tables& t = *t_;
  ++rebuilds_;
  // Collect the leaves in the lower half, halving their counts (rounded up).
  int j = 0;
  for (int i = 0; i < T; ++i) {
    if (t.son[i] >= T) {
      t.freq[j] = static_cast<uint16_t>((t.freq[i] + 1) >> 1);
      t.son[j] = t.son[i];
      ++j;
    }
  }
  // Join pairs of nodes in order, keeping the counts sorted.
  for (int i = 0, n = N_CHAR; n < T; i += 2, ++n) {
    const unsigned f = t.freq[i] + t.freq[i + 1];
    int k = n;
    while (f < t.freq[k - 1])
      --k;
    std::memmove(&t.freq[k + 1], &t.freq[k], (n - k) * sizeof t.freq[0]);
    std::memmove(&t.son[k + 1], &t.son[k], (n - k) * sizeof t.son[0]);
    t.freq[k] = static_cast<uint16_t>(f);
    t.son[k] = static_cast<int16_t>(i);
  }
  // Reconnect the parents.
  for (int i = 0; i < T; ++i) {
    const int k = t.son[i];
    t.prnt[k] = static_cast<int16_t>(i);
    if (k < T) t.prnt[k + 1] = static_cast<int16_t>(i);
  }
}

void TLZH::UpdateTree(int c) {
  if (t_->freq[R] == MAX_FREQ) RebuildTree();
  UpdateFrom(t_->prnt[c + T]);
}

// The update of a symbol whose path is known: `path` holds the nodes from the root's child
// down to the symbol's leaf node. While no node moves, the next node up is the one before it
// on the path, so the counts are raised without following the parent links one load after
// the other; the first node that must move goes on with the general walk.
void TLZH::UpdatePath(int c, const int16_t* path, int length) {
  Tables& t = *t_;
  if (t.freq[R] == MAX_FREQ) {
    UpdateTree(c);
    return;
  }
  for (int i = length - 1; i >= 0; --i) {
    const int n = path[i];
    if (t.freq[n] >= t.freq[n + 1]) {
      UpdateFrom(n);
      return;
    }
    ++t.freq[n];
  }
  ++t.freq[R];  // the sentinel above the root never lets it move
}

// Raises the counts from node n up to the root, moving each node that would count more than
// its right neighbour behind the last node of smaller count, with its subtree.
void TLZH::UpdateFrom(int n) {
  Tables& t = *t_;
  do {
    const unsigned k = ++t.freq[n];
    if (k > t.freq[n + 1]) {
      // Move the node behind the last node of smaller count (the sentinel stops the scan).
      int l = n + 1;
      while (k > t.freq[l + 1])
        ++l;
      t.freq[n] = t.freq[l];
      t.freq[l] = static_cast<uint16_t>(k);
      const int i = t.son[n];
      t.prnt[i] = static_cast<int16_t>(l);
      if (i < T) t.prnt[i + 1] = static_cast<int16_t>(l);
      const int j = t.son[l];
      t.son[l] = static_cast<int16_t>(i);
      t.prnt[j] = static_cast<int16_t>(n);
      if (j < T) t.prnt[j + 1] = static_cast<int16_t>(n);
      t.son[n] = static_cast<int16_t>(j);
      n = l;
    }
    n = t.prnt[n];
  } while (n != 0);
}

// ---- Bit input ----

void TLZH::Refill() {
  while (getlen_ <= 8) {
    uint8_t b = 0;
    uint16_t got = 0;
    (*get_)(&b, 1, got);
    if (got == 0) {
      b = 0;
      ++missing_bytes_;
    }
    getbuf_ |= static_cast<uint32_t>(b) << (24 - getlen_);
    getlen_ += 8;
  }
}

int TLZH::ReadBit() {
  if (getlen_ <= 8) Refill();
  const int bit = static_cast<int>(getbuf_ >> 31);
  getbuf_ <<= 1;
  --getlen_;
  return bit;
}

int TLZH::ReadByte() {
  if (getlen_ <= 8) Refill();
  const int b = static_cast<int>(getbuf_ >> 24);
  getbuf_ <<= 8;
  getlen_ -= 8;
  return b;
}

int TLZH::DecodeSymbol() {
  const Tables& t = *t_;
  int c = t.son[R];
  while (c < T)
    c = t.son[c + ReadBit()];
  c -= T;
  UpdateTree(c);
  return c;
}

int TLZH::DecodePosition() {
  int i = ReadByte();
  const int upper = kPos.d_code[i] << 6;
  for (int j = kPos.d_len[i] - 2; j > 0; --j)
    i = (i << 1) + ReadBit();
  return upper | (i & 0x3F);
}

// ---- Bit output ----

void TLZH::PutByte(uint8_t b) {
  if (mem_out_) {
    mem_out_->WriteByte(b);
    return;
  }
  uint16_t put = 0;
  (*put_)(&b, 1, put);
}

// Appends the top `l` bits of `c` (l <= 32; the bits below them are zero).
void TLZH::PutBits(int l, uint32_t c) {
  uint64_t buf = static_cast<uint64_t>(putbuf_) << 32;
  buf |= (static_cast<uint64_t>(c) << 32) >> putlen_;
  putlen_ += l;
  while (putlen_ >= 8) {
    PutByte(static_cast<uint8_t>(buf >> 56));
    ++codesize;
    buf <<= 8;
    putlen_ -= 8;
  }
  putbuf_ = static_cast<uint32_t>(buf >> 32);
}

void TLZH::FlushBits() {
  if (putlen_ > 0) {
    PutByte(static_cast<uint8_t>(putbuf_ >> 24));
    ++codesize;
  }
  putbuf_ = 0;
  putlen_ = 0;
}

void TLZH::EncodeSymbol(int c) {
  const Tables& t = *t_;
  // The path from the leaf to the root, one bit per step: 1 for the second child (odd node).
  // The tree's counts stay below 0x8000, which keeps it far less than 32 levels deep.
  // The nodes are kept from the back of `path`, so that they read from the root down.
  uint32_t code = 0;
  int len = 0;
  int k = t.prnt[c + T];
  int16_t path[32];
  do {
    code >>= 1;
    if (k & 1) code |= 0x80000000u;
    path[31 - len] = static_cast<int16_t>(k);
    ++len;
    k = t.prnt[k];
  } while (k != R && len < 32);
  if (k != R) throw ElzhException("LZH : Huffman code longer than 32 bits");
  PutBits(len, code);
  code_ = code;
  len_ = len;
  longest_code_ = std::max(longest_code_, len);
  UpdatePath(c, path + 32 - len, len);
}

void TLZH::EncodePosition(unsigned p) {
  const unsigned upper = p >> 6;
  PutBits(kPos.len[upper], static_cast<uint32_t>(kPos.code[upper]) << 24);
  PutBits(6, (p & 0x3Fu) << 26);
}

// ---- Match finder: one binary search tree of ring positions per first byte ----

void TLZH::InitMatchTrees() {
  Tables& t = *t_;
  for (int i = N + 1; i <= N + 256; ++i)
    t.rson[i] = NIL;
  for (int i = 0; i < N; ++i)
    t.dad[i] = NIL;
}

// Length of the common prefix of the F-byte strings at `a` and `b` (whose first bytes are
// equal), at most F; `cmp` receives a[i] - b[i] at the first difference. Compares eight bytes
// at a time where the byte order allows.
static int CommonPrefix(const uint8_t* a, const uint8_t* b, int& cmp) {
  constexpr int F = TLZH::F;
  int i = 1;
  if constexpr (std::endian::native == std::endian::little) {
    for (; i < F; i += 8) {
      uint64_t x, y;
      std::memcpy(&x, a + i, 8);
      std::memcpy(&y, b + i, 8);
      if (x != y) {
        i += std::countr_zero(x ^ y) >> 3;
        break;
      }
    }
    if (i >= F) return F;
    cmp = a[i] - b[i];
    return i;
  }
  for (; i < F; ++i)
    if ((cmp = a[i] - b[i]) != 0) break;
  return i;
}

void TLZH::InsertString(int r) {
  Tables& t = *t_;
  const uint8_t* key = &t.text_buf[r];
  int cmp = 1;  // the first step from a root goes right
  int p = N + 1 + key[0];
  int length = 0, position = 0;
  t.rson[r] = t.lson[r] = NIL;
  for (;;) {
    int16_t* next = cmp >= 0 ? &t.rson[p] : &t.lson[p];
    if (*next == NIL) {
      *next = static_cast<int16_t>(r);
      t.dad[r] = static_cast<int16_t>(p);
      break;
    }
    p = *next;
    const int i = CommonPrefix(key, &t.text_buf[p], cmp);
    if (i > THRESHOLD) {
      const int d = ((r - p) & (N - 1)) - 1;
      if (i > length) {
        position = d;
        length = i;
        if (i >= F) {
          ReplaceNode(p, r);
          break;
        }
      } else if (i == length && d < position) {
        position = d;
      }
    }
  }
  match_length_ = static_cast<int16_t>(length);
  match_position_ = static_cast<int16_t>(position);
}

// Node r takes the place of p (a full-length match) and p leaves the tree.
void TLZH::ReplaceNode(int p, int r) {
  Tables& t = *t_;
  t.dad[r] = t.dad[p];
  t.lson[r] = t.lson[p];
  t.rson[r] = t.rson[p];
  t.dad[t.lson[p]] = static_cast<int16_t>(r);
  t.dad[t.rson[p]] = static_cast<int16_t>(r);
  if (t.rson[t.dad[p]] == p) {
    t.rson[t.dad[p]] = static_cast<int16_t>(r);
  } else {
    t.lson[t.dad[p]] = static_cast<int16_t>(r);
  }
  t.dad[p] = NIL;
}

void TLZH::DeleteString(int p) {
  Tables& t = *t_;
  if (t.dad[p] == NIL) return;  // not in a tree
  int q;
  if (t.rson[p] == NIL) {
    q = t.lson[p];
  } else if (t.lson[p] == NIL) {
    q = t.rson[p];
  } else {
    // Two children: the rightmost node of the left subtree replaces p.
    q = t.lson[p];
    if (t.rson[q] != NIL) {
      do {
        q = t.rson[q];
      } while (t.rson[q] != NIL);
      t.rson[t.dad[q]] = t.lson[q];
      t.dad[t.lson[q]] = t.dad[q];
      t.lson[q] = t.lson[p];
      t.dad[t.lson[p]] = static_cast<int16_t>(q);
    }
    t.rson[q] = t.rson[p];
    t.dad[t.rson[p]] = static_cast<int16_t>(q);
  }
  t.dad[q] = t.dad[p];
  if (t.rson[t.dad[p]] == p) {
    t.rson[t.dad[p]] = static_cast<int16_t>(q);
  } else {
    t.lson[t.dad[p]] = static_cast<int16_t>(q);
  }
  t.dad[p] = NIL;
}

// ---- Pack and unpack ----

// The encoder's input: the caller's memory, or blocks of up to kInBlock bytes read through the
// callback.
int TLZH::GetByte(bool& got) {
  if (in_next_ == in_end_ && !input_ended_) {
    uint16_t n = 0;
    (*get_)(t_->in_buf, kInBlock, n);
    in_next_ = t_->in_buf;
    in_end_ = in_next_ + std::min<int>(n, kInBlock);
    input_ended_ = n == 0;
  }
  got = in_next_ != in_end_;
  return got ? *in_next_++ : 0;
}

void TLZH::LZHUnpack(int32_t TextSize, const TGetBytesProc& GetBytes,
                     const TPutBytesProc& PutBytes) {
  ResetState();
  get_ = &GetBytes;
  put_ = &PutBytes;
  Unpack(TextSize);
}

void TLZH::Unpack(int32_t TextSize) {
  const TableScope tables = OpenTables();
  uint8_t* ring = t_->text_buf;
  std::memset(ring, FILL, N - F);
  int r = N - F;
  for (int64_t count = 0; count < TextSize;) {
    const int c = DecodeSymbol();
    if (c < 256) {
      if (OnSymbol) OnSymbol(c, -1);
      PutByte(static_cast<uint8_t>(c));
      ring[r] = static_cast<uint8_t>(c);
      r = (r + 1) & (N - 1);
      ++count;
      continue;
    }
    const int position = DecodePosition();
    if (OnSymbol) OnSymbol(c, position);
    const int i = (r - position - 1) & (N - 1);
    const int length = c - (255 - THRESHOLD);
    for (int k = 0; k < length; ++k) {
      const uint8_t b = ring[(i + k) & (N - 1)];
      PutByte(b);
      ring[r] = b;
      r = (r + 1) & (N - 1);
    }
    count += length;
  }
}

void TLZH::LZHPack(int32_t& Bytes_Written, const TGetBytesProc& GetBytes,
                   const TPutBytesProc& PutBytes) {
  ResetState();
  get_ = &GetBytes;
  put_ = &PutBytes;
  in_next_ = in_end_ = nullptr;
  input_ended_ = false;
  Pack();
  Bytes_Written = static_cast<int32_t>(textsize);
}

void TLZH::EncodeMemory(const uint8_t* in, size_t length, TMemoryStream& out) {
  ResetState();
  in_next_ = in;
  in_end_ = in + length;
  input_ended_ = true;
  mem_out_ = &out;
  struct Detach {
    TLZH* z;
    ~Detach() { z->mem_out_ = nullptr; }
  } detach{this};
  Pack();
}

void TLZH::Pack() {
  const TableScope tables = OpenTables();
  InitMatchTrees();
  uint8_t* ring = t_->text_buf;
  std::memset(ring, FILL, N - F);
  const int r = N - F;
  int len = 0;
  for (bool got = true; len < F; ++len) {
    const int c = GetByte(got);
    if (!got) break;
    ring[r + len] = static_cast<uint8_t>(c);
  }
  textsize = static_cast<uint32_t>(len);
  for (int i = 1; i <= F; ++i)
    InsertString(r - i);
  InsertString(r);
  EncodeLoop(len);
  FlushBits();
}

void TLZH::EncodeLoop(int len) {
  uint8_t* ring = t_->text_buf;
  int s = 0;
  int r = N - F;
  while (len > 0) {
    if (match_length_ > len) match_length_ = static_cast<int16_t>(len);
    if (match_length_ <= THRESHOLD) {
      match_length_ = 1;
      EncodeSymbol(ring[r]);
    } else {
      EncodeSymbol(255 - THRESHOLD + match_length_);
      EncodePosition(static_cast<unsigned>(match_position_));
    }
    const int last = match_length_;
    int i = 0;
    for (bool got = true; i < last; ++i) {
      const int c = GetByte(got);
      if (!got) break;
      DeleteString(s);
      ring[s] = static_cast<uint8_t>(c);
      if (s < F - 1) ring[s + N] = static_cast<uint8_t>(c);
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      InsertString(r);
    }
    textsize += static_cast<uint32_t>(i);
    for (; i < last; ++i) {
      DeleteString(s);
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      if (--len != 0) InsertString(r);
    }
  }
}

void TLZH::GetBlockStream(uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Got) {
  Bytes_Got = static_cast<uint16_t>(StreamIn->Read(DTA, NBytes));
}

void TLZH::PutBlockStream(const uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Got) {
  StreamOut->Write(DTA, NBytes);
  Bytes_Got = NBytes;
}

// ---- Block helpers ----

TLzhBlockInfo DecompressBlock(TStream& source, TStream& dest, int64_t maxSize) {
  source.SetPosition(0);
  dest.SetPosition(0);
  uint8_t head[4];
  if (source.Read(head, 4) != 4)
    throw ElzhException("LZH : block is shorter than its 4-byte size field");
  TLzhBlockInfo info;
  info.AnnouncedSize = static_cast<int32_t>(static_cast<uint32_t>(head[0]) | head[1] << 8 |
                                            head[2] << 16 | static_cast<uint32_t>(head[3]) << 24);
  if (info.AnnouncedSize > maxSize) {
    throw ElzhException("LZH : announced size of " + std::to_string(info.AnnouncedSize) +
                        " bytes is above the limit of " + std::to_string(maxSize) + " bytes");
  }
  TLZH lzh;
  const int64_t start = dest.Position();
  auto* memIn = dynamic_cast<TMemoryStream*>(&source);
  auto* memOut = dynamic_cast<TMemoryStream*>(&dest);
  if (memIn && memOut && memIn != memOut) {
    // Memory to memory (every skin load): the same decode without a call per byte, straight
    // into the destination's bytes (DecodeMemory sizes them once).
    const std::vector<uint8_t>& bytes = memIn->Bytes();
    const size_t read =
        lzh.DecodeMemory(info.AnnouncedSize, bytes.data() + 4, bytes.size() - 4, *memOut);
    memIn->SetPosition(4 + static_cast<int64_t>(read));
    info.Written = dest.Position() - start;
    info.InputTruncated = lzh.InputTruncated();
    return info;
  }
  if (memOut && info.AnnouncedSize > 0)
    memOut->Reserve(static_cast<size_t>(info.AnnouncedSize) + TLZH::F);
  lzh.StreamIn = &source;
  lzh.StreamOut = &dest;
  lzh.LZHUnpack(
      info.AnnouncedSize,
      [&lzh](uint8_t* d, uint16_t n, uint16_t& got) { lzh.GetBlockStream(d, n, got); },
      [&lzh](const uint8_t* d, uint16_t n, uint16_t& put) { lzh.PutBlockStream(d, n, put); });
  info.Written = dest.Position() - start;
  info.InputTruncated = lzh.InputTruncated();
  return info;
}

namespace {

std::array<uint8_t, 4> SizeField(int64_t size) {
  if (size > INT32_MAX) throw ElzhException("LZH : input of 2 GiB or more cannot be packed");
  const auto u = static_cast<uint32_t>(size);
  return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
          static_cast<uint8_t>(u >> 24)};
}

}  // namespace

void CompressBlock(TStream& source, TStream& dest) {
  source.SetPosition(0);
  dest.SetPosition(0);
  auto* memIn = dynamic_cast<TMemoryStream*>(&source);
  auto* memOut = dynamic_cast<TMemoryStream*>(&dest);
  if (memIn && memOut && memIn != memOut) {
    const std::vector<uint8_t>& bytes = memIn->Bytes();
    CompressBlock(bytes.data(), bytes.size(), *memOut);
    memIn->SetPosition(memIn->Size());
    return;
  }
  const std::array<uint8_t, 4> head = SizeField(source.Size());
  dest.Write(head.data(), head.size());
  TLZH lzh;
  lzh.StreamIn = &source;
  lzh.StreamOut = &dest;
  int32_t written = 0;
  lzh.LZHPack(
      written, [&lzh](uint8_t* d, uint16_t n, uint16_t& got) { lzh.GetBlockStream(d, n, got); },
      [&lzh](const uint8_t* d, uint16_t n, uint16_t& put) { lzh.PutBlockStream(d, n, put); });
}

void CompressBlock(const uint8_t* in, size_t length, TMemoryStream& dest) {
  const std::array<uint8_t, 4> head = SizeField(static_cast<int64_t>(length));
  dest.Write(head.data(), head.size());
  TLZH lzh;
  lzh.EncodeMemory(in, length, dest);
}

}  // namespace lbb::skin
