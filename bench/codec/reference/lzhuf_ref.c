/* lzhuf_ref: the classic LZHUF coder in plain C, written straight from the algorithm, as a
 * yardstick for the speed of our codec. It is not linked into the program.
 *
 * LZSS over a 4096-byte ring (the first 4036 bytes start as spaces), matches of 3..60 bytes
 * found with one binary search tree per first byte; literals and match lengths share one
 * adaptive Huffman code of 314 symbols, the upper six bits of a match position get a fixed
 * prefix code and the lower six go out plain. Bits are written most significant first.
 *
 *   lzhuf_ref e IN OUT    pack IN into one block (4-byte little-endian size, then the bits)
 *   lzhuf_ref d IN OUT    unpack the block in IN
 *
 * Files are read whole and written with one call, so the figures measure the coder itself.
 * Built with LZHUF_REF_NO_MAIN it is just the two functions of lzhuf_ref.h. */
#include "lzhuf_ref.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define N 4096                       /* ring buffer size */
#define F 60                         /* longest match */
#define THRESHOLD 2                  /* longer matches than this are coded as matches */
#define NIL N                        /* no node in the match trees */
#define N_CHAR (256 - THRESHOLD + F) /* 314 symbols */
#define T (N_CHAR * 2 - 1)           /* nodes of the Huffman tree */
#define R (T - 1)                    /* its root */
#define MAX_FREQ 0x8000              /* root count that makes the tree rebuild */

static unsigned char text_buf[N + F - 1];
static int lson[N + 1], rson[N + 257], dad[N + 1];
static int match_position, match_length;

static unsigned freq[T + 1];
static int prnt[T + N_CHAR];
static int son[T];

/* Position prefix codes, made by init_position_codes. */
static unsigned char p_len[64], p_code[64], d_code[256], d_len[256];

/* Bit input: 16-bit buffer read from the top. */
static const unsigned char *in_ptr, *in_end;
static unsigned getbuf, getlen;

/* Bit output: 32-bit buffer filled from the top. */
static unsigned char *out_buf, *out_ptr, *out_end;
static uint32_t putbuf;
static int putlen;
static int out_failed;

static void init_position_codes(void) {
  int v, b, next = 0;
  for (v = 0; v < 64; v++) {
    int span;
    p_len[v] = v == 0 ? 3 : v < 4 ? 4 : v < 12 ? 5 : v < 24 ? 6 : v < 48 ? 7 : 8;
    p_code[v] = (unsigned char)next;
    span = 1 << (8 - p_len[v]);
    for (b = next; b < next + span; b++) {
      d_code[b] = (unsigned char)v;
      d_len[b] = p_len[v];
    }
    next += span;
  }
}

/* ---- Huffman tree ---- */

static void start_huff(void) {
  int i, j;
  for (i = 0; i < N_CHAR; i++) {
    freq[i] = 1;
    son[i] = i + T;
    prnt[i + T] = i;
  }
  i = 0;
  j = N_CHAR;
  while (j <= R) {
    freq[j] = freq[i] + freq[i + 1];
    son[j] = i;
    prnt[i] = prnt[i + 1] = j;
    i += 2;
    j++;
  }
  freq[T] = 0xffff;
  prnt[R] = 0;
}

static void reconst(void) {
  int i, j, k;
  unsigned f;
  j = 0;
  for (i = 0; i < T; i++) {
    if (son[i] >= T) {
      freq[j] = (freq[i] + 1) / 2;
      son[j] = son[i];
      j++;
    }
  }
  for (i = 0, j = N_CHAR; j < T; i += 2, j++) {
    f = freq[i] + freq[i + 1];
    for (k = j; f < freq[k - 1]; k--)
      ;
    memmove(&freq[k + 1], &freq[k], (size_t)(j - k) * sizeof freq[0]);
    memmove(&son[k + 1], &son[k], (size_t)(j - k) * sizeof son[0]);
    freq[k] = f;
    son[k] = i;
  }
  for (i = 0; i < T; i++) {
    k = son[i];
    prnt[k] = i;
    if (k < T) prnt[k + 1] = i;
  }
}

static void update(int c) {
  int i, j, l;
  unsigned k;
  if (freq[R] == MAX_FREQ) reconst();
  c = prnt[c + T];
  do {
    k = ++freq[c];
    if (k > freq[c + 1]) {
      l = c + 1;
      while (k > freq[l + 1])
        l++;
      freq[c] = freq[l];
      freq[l] = k;
      i = son[c];
      prnt[i] = l;
      if (i < T) prnt[i + 1] = l;
      j = son[l];
      son[l] = i;
      prnt[j] = c;
      if (j < T) prnt[j + 1] = c;
      son[c] = j;
      c = l;
    }
  } while ((c = prnt[c]) != 0);
}

/* ---- Match trees ---- */

static void init_tree(void) {
  int i;
  for (i = N + 1; i <= N + 256; i++)
    rson[i] = NIL;
  for (i = 0; i < N; i++)
    dad[i] = NIL;
}

/* Hangs q from p's parent where p hung, and takes p out of the tree. */
static void take_place(int p, int q) {
  dad[q] = dad[p];
  if (rson[dad[p]] == p)
    rson[dad[p]] = q;
  else
    lson[dad[p]] = q;
  dad[p] = NIL;
}

static void insert_node(int r) {
  int i, p, cmp = 1, d;
  const unsigned char* key = &text_buf[r];
  p = N + 1 + key[0];
  rson[r] = lson[r] = NIL;
  match_length = 0;
  for (;;) {
    if (cmp >= 0) {
      if (rson[p] == NIL) {
        rson[p] = r;
        dad[r] = p;
        return;
      }
      p = rson[p];
    } else {
      if (lson[p] == NIL) {
        lson[p] = r;
        dad[r] = p;
        return;
      }
      p = lson[p];
    }
    for (i = 1; i < F; i++)
      if ((cmp = key[i] - text_buf[p + i]) != 0) break;
    if (i > THRESHOLD) {
      d = ((r - p) & (N - 1)) - 1;
      if (i > match_length) {
        match_position = d;
        match_length = i;
        if (i >= F) break;
      } else if (i == match_length && d < match_position) {
        match_position = d;
      }
    }
  }
  /* A full-length match: r takes p's place in the tree, with its children. */
  lson[r] = lson[p];
  rson[r] = rson[p];
  dad[lson[p]] = r;
  dad[rson[p]] = r;
  take_place(p, r);
}

static void delete_node(int p) {
  int q;
  if (dad[p] == NIL) return;
  if (rson[p] == NIL) {
    q = lson[p];
  } else if (lson[p] == NIL) {
    q = rson[p];
  } else {
    q = lson[p];
    if (rson[q] != NIL) {
      do
        q = rson[q];
      while (rson[q] != NIL);
      rson[dad[q]] = lson[q];
      dad[lson[q]] = dad[q];
      lson[q] = lson[p];
      dad[lson[p]] = q;
    }
    rson[q] = rson[p];
    dad[rson[p]] = q;
  }
  take_place(p, q);
}

/* ---- Bit output ---- */

static void put_byte(unsigned b) {
  if (out_ptr == out_end) {
    size_t used = (size_t)(out_ptr - out_buf);
    size_t cap = used ? used * 2 : 4096;
    unsigned char* grown = realloc(out_buf, cap);
    if (!grown) {
      out_failed = 1;
      return;
    }
    out_buf = grown;
    out_ptr = grown + used;
    out_end = grown + cap;
  }
  *out_ptr++ = (unsigned char)b;
}

/* Appends the top l bits of c. The tree's counts stay below 0x8000, which keeps every code
   far shorter than the 25 bits this buffer can take on top of 7 pending ones. */
static void put_code(int l, uint32_t c) {
  putbuf |= c >> putlen;
  putlen += l;
  while (putlen >= 8) {
    put_byte(putbuf >> 24);
    putbuf <<= 8;
    putlen -= 8;
  }
}

static void encode_char(int c) {
  uint32_t code = 0;
  int len = 0, k = prnt[c + T];
  do {
    code >>= 1;
    if (k & 1) code |= 0x80000000u;
    len++;
  } while ((k = prnt[k]) != R);
  if (len > 25) abort();
  put_code(len, code);
  update(c);
}

static void encode_position(unsigned c) {
  unsigned i = c >> 6;
  put_code(p_len[i], (uint32_t)p_code[i] << 24);
  put_code(6, (uint32_t)(c & 0x3f) << 26);
}

/* ---- Bit input ---- */

static unsigned next_in(void) {
  return in_ptr < in_end ? *in_ptr++ : 0;
}

/* Tops the buffer up to at least 9 bits, a byte at a time. */
static void fill_bits(void) {
  while (getlen <= 8) {
    getbuf |= next_in() << (8 - getlen);
    getlen += 8;
  }
}

static int get_bit(void) {
  int bit;
  fill_bits();
  bit = (getbuf >> 15) & 1;
  getbuf = (getbuf << 1) & 0xffff;
  getlen--;
  return bit;
}

static unsigned get_byte(void) {
  unsigned b;
  fill_bits();
  b = getbuf >> 8;
  getbuf = (getbuf << 8) & 0xffff;
  getlen -= 8;
  return b;
}

static int decode_char(void) {
  int c = son[R];
  while (c < T)
    c = son[c + get_bit()];
  c -= T;
  update(c);
  return c;
}

static int decode_position(void) {
  unsigned i = get_byte(), c = (unsigned)d_code[i] << 6;
  int j = d_len[i] - 2;
  while (j-- > 0)
    i = (i << 1) + get_bit();
  return (int)(c | (i & 0x3f));
}

/* ---- Blocks ---- */

unsigned char* lzhuf_ref_encode(const unsigned char* in, size_t size, size_t* out_size) {
  int i, c, len, r, s, last;
  size_t at = 0;
  init_position_codes();
  out_buf = out_ptr = out_end = NULL;
  out_failed = 0;
  putbuf = 0;
  putlen = 0;
  memset(text_buf, 0, sizeof text_buf);
  start_huff();
  init_tree();
  s = 0;
  r = N - F;
  memset(text_buf, ' ', (size_t)r);
  for (len = 0; len < F && at < size; len++)
    text_buf[r + len] = in[at++];
  for (i = 1; i <= F; i++)
    insert_node(r - i);
  insert_node(r);
  while (len > 0) {
    if (match_length > len) match_length = len;
    if (match_length <= THRESHOLD) {
      match_length = 1;
      encode_char(text_buf[r]);
    } else {
      encode_char(255 - THRESHOLD + match_length);
      encode_position((unsigned)match_position);
    }
    last = match_length;
    for (i = 0; i < last && at < size; i++) {
      c = in[at++];
      delete_node(s);
      text_buf[s] = (unsigned char)c;
      if (s < F - 1) text_buf[s + N] = (unsigned char)c;
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      insert_node(r);
    }
    for (; i < last; i++) {
      delete_node(s);
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      if (--len) insert_node(r);
    }
  }
  if (putlen > 0) put_byte(putbuf >> 24);
  if (out_failed) {
    free(out_buf);
    return NULL;
  }
  *out_size = (size_t)(out_ptr - out_buf);
  if (!out_buf) out_buf = malloc(1); /* an empty input still gets a buffer to free */
  return out_buf;
}

size_t lzhuf_ref_decode(const unsigned char* in, size_t size, unsigned char* out, long text_size) {
  int i, j, k, c, r;
  long count;
  init_position_codes();
  in_ptr = in;
  in_end = in + size;
  getbuf = 0;
  getlen = 0;
  memset(text_buf, 0, sizeof text_buf);
  start_huff();
  r = N - F;
  memset(text_buf, ' ', (size_t)r);
  for (count = 0; count < text_size;) {
    c = decode_char();
    if (c < 256) {
      out[count++] = (unsigned char)c;
      text_buf[r++] = (unsigned char)c;
      r &= N - 1;
    } else {
      i = (r - decode_position() - 1) & (N - 1);
      j = c - 255 + THRESHOLD;
      for (k = 0; k < j; k++) {
        c = text_buf[(i + k) & (N - 1)];
        out[count++] = (unsigned char)c;
        text_buf[r++] = (unsigned char)c;
        r &= N - 1;
      }
    }
  }
  return (size_t)count;
}

#ifndef LZHUF_REF_NO_MAIN

static unsigned char* read_file(const char* name, size_t* size) {
  FILE* f = fopen(name, "rb");
  unsigned char* data;
  long n;
  if (!f) return NULL;
  if (fseek(f, 0, SEEK_END) != 0 || (n = ftell(f)) < 0 || fseek(f, 0, SEEK_SET) != 0) {
    fclose(f);
    return NULL;
  }
  data = malloc((size_t)n + 1);
  if (data && fread(data, 1, (size_t)n, f) != (size_t)n) {
    free(data);
    data = NULL;
  }
  fclose(f);
  *size = (size_t)n;
  return data;
}

static int write_file(const char* name, const unsigned char* head, size_t head_size,
                      const unsigned char* data, size_t size) {
  FILE* f = fopen(name, "wb");
  int ok;
  if (!f) return 0;
  ok = fwrite(head, 1, head_size, f) == head_size && fwrite(data, 1, size, f) == size;
  return fclose(f) == 0 && ok;
}

static int pack(const char* from, const char* to) {
  size_t size, packed_size;
  unsigned char head[4], *packed, *plain = read_file(from, &size);
  int ok;
  if (!plain) return 0;
  packed = lzhuf_ref_encode(plain, size, &packed_size);
  head[0] = (unsigned char)size;
  head[1] = (unsigned char)(size >> 8);
  head[2] = (unsigned char)(size >> 16);
  head[3] = (unsigned char)(size >> 24);
  ok = packed && write_file(to, head, 4, packed, packed_size);
  free(plain);
  free(packed);
  return ok;
}

static int unpack(const char* from, const char* to) {
  size_t size;
  unsigned char *plain, *block = read_file(from, &size);
  long text_size;
  int ok;
  if (!block || size < 4) {
    free(block);
    return 0;
  }
  text_size = (long)((unsigned long)block[0] | (unsigned long)block[1] << 8 |
                     (unsigned long)block[2] << 16 | (unsigned long)block[3] << 24);
  if (text_size < 0 || text_size > (1L << 30)) {
    free(block);
    return 0;
  }
  plain = malloc((size_t)text_size + F);
  ok = plain != NULL;
  if (ok) {
    lzhuf_ref_decode(block + 4, size - 4, plain, text_size);
    ok = write_file(to, NULL, 0, plain, (size_t)text_size);
  }
  free(block);
  free(plain);
  return ok;
}

int main(int argc, char** argv) {
  int ok;
  if (argc != 4 || (argv[1][0] != 'e' && argv[1][0] != 'd') || argv[1][1] != '\0') {
    fprintf(stderr, "usage: lzhuf_ref e|d IN OUT\n");
    return 2;
  }
  ok = argv[1][0] == 'e' ? pack(argv[2], argv[3]) : unpack(argv[2], argv[3]);
  if (!ok) {
    fprintf(stderr, "lzhuf_ref: %s -> %s failed\n", argv[2], argv[3]);
    return 1;
  }
  return 0;
}

#endif
