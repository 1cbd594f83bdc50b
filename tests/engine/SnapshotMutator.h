#pragma once
// Damages snapshot bytes for the loader's robustness tests and the fuzz target. With
// RepairChecksums the damage gets valid checksums, so it reaches the item decoder instead of
// stopping at the checksum test.
#include <QByteArray>
#include <QtEndian>
#include <cstdint>

#include "engine/Snapshot.h"

// Recomputes every checksum of a snapshot whose directory can still be walked (see
// docs/snapshot.md for the layout); pages the table cannot place are left alone.
inline void RepairChecksums(QByteArray& bytes) {
  const auto u32 = [&bytes](qsizetype at, quint32& v) {
    if (at < 0 || at + 4 > bytes.size()) return false;
    v = qFromLittleEndian<quint32>(bytes.constData() + at);
    return true;
  };
  quint32 dirLength = 0, n = 0;
  if (!u32(12, dirLength) || dirLength < 4 || qint64(dirLength) > bytes.size() - 16) return;
  const qsizetype dirEnd = 16 + qsizetype(dirLength);
  qsizetype p = 16 + 4 + 16;  // checksum, sheet width and height
  if (!u32(p, n)) return;
  p += 4 + qsizetype(n);  // title
  quint32 fonts = 0;
  if (!u32(p, fonts)) return;
  p += 4;
  for (quint32 i = 0; i < fonts && i < 10000; ++i) {
    if (!u32(p, n)) return;
    p += 4 + qsizetype(n) + 8 + 1 + 4;  // name, size, style, colour
  }
  quint32 pages = 0;
  if (!u32(p, pages)) return;
  p += 4;
  qsizetype at = dirEnd;
  for (quint32 i = 0; i < pages && p + 8 <= dirEnd; ++i, p += 8) {
    if (!u32(p, n) || qint64(n) > bytes.size() - at) break;
    qToLittleEndian(SnapshotCrc32(bytes.constData() + at, n), bytes.data() + p + 4);
    at += n;
  }
  qToLittleEndian(SnapshotCrc32(bytes.constData() + 20, dirLength - 4), bytes.data() + 16);
}

// A small deterministic generator (xorshift), so every run damages the same way.
class TMutator {
 public:
  explicit TMutator(uint64_t seed) : FState(seed ? seed : 1) {}
  uint64_t Next() {
    FState ^= FState << 13;
    FState ^= FState >> 7;
    FState ^= FState << 17;
    return FState;
  }
  // One of: flip a bit, set a byte, overwrite four bytes with an extreme number, cut the end,
  // insert a byte, delete a byte.
  QByteArray Mutate(QByteArray bytes) {
    if (bytes.isEmpty()) return bytes;
    const qsizetype at = qsizetype(Next() % uint64_t(bytes.size()));
    switch (Next() % 6) {
      case 0:
        bytes[at] = char(bytes[at] ^ (1 << (Next() % 8)));
        break;
      case 1:
        bytes[at] = char(Next());
        break;
      case 2: {
        static const quint32 extremes[] = {0, 1, 0x7FFFFFFF, 0xFFFFFFFF, 0x80000000, 0xFFFF};
        const quint32 v = extremes[Next() % 6];
        for (int k = 0; k < 4 && at + k < bytes.size(); ++k) bytes[at + k] = char(v >> (8 * k));
        break;
      }
      case 3:
        bytes.truncate(at);
        break;
      case 4:
        bytes.insert(at, char(Next()));
        break;
      default:
        bytes.remove(at, 1);
        break;
    }
    return bytes;
  }

 private:
  uint64_t FState;
};
