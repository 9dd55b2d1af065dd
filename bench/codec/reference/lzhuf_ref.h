/* A plain C LZHUF coder, kept only as a speed yardstick for the codec benchmarks. */
#ifndef LZHUF_REF_H
#define LZHUF_REF_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Encodes in[0..size) into a new malloc'd bit stream (no size field); *out_size receives
   its length. Returns NULL when memory runs out. */
unsigned char* lzhuf_ref_encode(const unsigned char* in, size_t size, size_t* out_size);

/* Decodes text_size bytes from the bit stream in[0..size) into out, which must have room for
   text_size + 60 bytes (a damaged last match may run over). Missing input reads as zeros.
   Returns the number of bytes written. */
size_t lzhuf_ref_decode(const unsigned char* in, size_t size, unsigned char* out, long text_size);

#ifdef __cplusplus
}
#endif

#endif
