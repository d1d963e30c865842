#include "grid/compoundfile.h"
#include <QIODevice>
#include <QtEndian>
#include <vector>

namespace grid {
namespace {

constexpr quint32 FreeSect = 0xFFFFFFFF;
constexpr quint32 EndOfChain = 0xFFFFFFFE;
constexpr quint32 FatSect = 0xFFFFFFFD;
constexpr quint32 DifatSect = 0xFFFFFFFC;
constexpr quint32 NoStream = 0xFFFFFFFF;
constexpr int SectorSize = 512;
constexpr int MiniSectorSize = 64;
constexpr int MiniCutoff = 4096;
constexpr int IdsPerSector = SectorSize / 4;   // 128
constexpr int HeaderDifat = 109;

int sectorsFor(qint64 bytes, int size) { return int((bytes + size - 1) / size); }

void put16(char *p, quint16 v) { qToLittleEndian(v, p); }
void put32(char *p, quint32 v) { qToLittleEndian(v, p); }

// Marks a run of sectors as one chain.
void chain(std::vector<quint32> &table, quint32 first, int count)
{
    for (int i = 0; i < count; ++i)
        table[first + i] = i + 1 < count ? first + i + 1 : EndOfChain;
}

QByteArray dirEntry(const QString &name, quint8 type, quint32 child, quint32 start, quint32 size)
{
    QByteArray e(128, '\0');
    char *p = e.data();
    const int chars = qMin(int(name.size()), 31);
    for (int i = 0; i < chars; ++i)
        put16(p + 2 * i, name.at(i).unicode());
    put16(p + 64, quint16((chars + 1) * 2));
    p[66] = char(type);
    p[67] = 1;                          // black node
    put32(p + 68, NoStream);            // left sibling
    put32(p + 72, NoStream);            // right sibling
    put32(p + 76, child);
    put32(p + 116, start);
    put32(p + 120, size);
    return e;
}

bool writeAll(QIODevice &out, const QByteArray &data)
{
    return out.write(data) == data.size();
}

QByteArray idSectors(const std::vector<quint32> &ids, int sectors)
{
    QByteArray b(sectors * SectorSize, '\xff');
    for (size_t i = 0; i < ids.size(); ++i)
        put32(b.data() + 4 * i, ids[i]);
    return b;
}

} // namespace

bool writeCompoundFile(QIODevice &out, const QString &streamName, const QByteArray &stream)
{
    const qint64 size = stream.size();
    const bool mini = size < MiniCutoff;

    // Regular sectors in file order: stream data (or the mini stream holding
    // it), mini FAT, directory, FAT, DIFAT.
    const int miniSectors = mini ? sectorsFor(size, MiniSectorSize) : 0;
    const int dataSectors = mini ? sectorsFor(qint64(miniSectors) * MiniSectorSize, SectorSize)
                                 : sectorsFor(size, SectorSize);
    const int miniFatSectors = mini && miniSectors ? sectorsFor(qint64(miniSectors) * 4, SectorSize) : 0;
    const int dirSectors = 1;
    const int fixed = dataSectors + miniFatSectors + dirSectors;
    int fatSectors = 1, difatSectors = 0;
    for (;;) { // the FAT has to map itself and the DIFAT too
        difatSectors = fatSectors > HeaderDifat ? sectorsFor(fatSectors - HeaderDifat, IdsPerSector - 1) : 0;
        if (qint64(fatSectors) * IdsPerSector >= fixed + fatSectors + difatSectors)
            break;
        ++fatSectors;
    }
    const quint32 dataStart = 0;
    const quint32 miniFatStart = dataSectors;
    const quint32 dirStart = miniFatStart + miniFatSectors;
    const quint32 fatStart = dirStart + dirSectors;
    const quint32 difatStart = fatStart + fatSectors;

    std::vector<quint32> fat(size_t(fatSectors) * IdsPerSector, FreeSect);
    chain(fat, dataStart, dataSectors);
    chain(fat, miniFatStart, miniFatSectors);
    chain(fat, dirStart, dirSectors);
    for (int i = 0; i < fatSectors; ++i)
        fat[fatStart + i] = FatSect;
    for (int i = 0; i < difatSectors; ++i)
        fat[difatStart + i] = DifatSect;

    QByteArray header(SectorSize, '\0');
    char *h = header.data();
    put32(h, 0xE011CFD0);
    put32(h + 4, 0xE11AB1A1);
    put16(h + 24, 0x003E);               // minor version
    put16(h + 26, 0x0003);               // major version 3
    put16(h + 28, 0xFFFE);               // little-endian
    put16(h + 30, 9);                    // 512-byte sectors
    put16(h + 32, 6);                    // 64-byte mini sectors
    put32(h + 44, quint32(fatSectors));
    put32(h + 48, dirStart);
    put32(h + 56, MiniCutoff);
    put32(h + 60, miniFatSectors ? miniFatStart : EndOfChain);
    put32(h + 64, quint32(miniFatSectors));
    put32(h + 68, difatSectors ? difatStart : EndOfChain);
    put32(h + 72, quint32(difatSectors));
    for (int i = 0; i < HeaderDifat; ++i)
        put32(h + 76 + 4 * i, i < fatSectors ? fatStart + i : FreeSect);

    // Directory: the root (owning the mini stream) and the one stream.
    const quint32 streamStart = mini ? (miniSectors ? 0 : EndOfChain) : (dataSectors ? dataStart : EndOfChain);
    QByteArray dir = dirEntry(QStringLiteral("Root Entry"), 5, 1,
                              mini && miniSectors ? dataStart : EndOfChain,
                              quint32(qint64(miniSectors) * MiniSectorSize));
    dir += dirEntry(streamName, 2, NoStream, streamStart, quint32(size));
    while (dir.size() < dirSectors * SectorSize) {
        QByteArray unused(128, '\0');
        put32(unused.data() + 68, NoStream);
        put32(unused.data() + 72, NoStream);
        put32(unused.data() + 76, NoStream);
        dir += unused;
    }

    if (!writeAll(out, header) || !writeAll(out, stream))
        return false;
    const qint64 pad = qint64(dataSectors) * SectorSize - size;
    if (pad > 0 && !writeAll(out, QByteArray(int(pad), '\0')))
        return false;
    if (miniFatSectors) {
        std::vector<quint32> miniFat(size_t(miniFatSectors) * IdsPerSector, FreeSect);
        chain(miniFat, 0, miniSectors);
        if (!writeAll(out, idSectors(miniFat, miniFatSectors)))
            return false;
    }
    if (!writeAll(out, dir) || !writeAll(out, idSectors(fat, fatSectors)))
        return false;
    if (difatSectors) {
        // Each DIFAT sector lists 127 FAT sectors beyond the header's 109 and
        // links to the next DIFAT sector.
        std::vector<quint32> difat(size_t(difatSectors) * IdsPerSector, FreeSect);
        for (int i = HeaderDifat; i < fatSectors; ++i) {
            const int k = i - HeaderDifat;
            difat[size_t(k / (IdsPerSector - 1)) * IdsPerSector + k % (IdsPerSector - 1)] = fatStart + i;
        }
        for (int s = 0; s < difatSectors; ++s)
            difat[size_t(s) * IdsPerSector + IdsPerSector - 1] = s + 1 < difatSectors ? difatStart + s + 1 : EndOfChain;
        if (!writeAll(out, idSectors(difat, difatSectors)))
            return false;
    }
    return true;
}

} // namespace grid
