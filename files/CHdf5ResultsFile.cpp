#include "files/CHdf5ResultsFile.h"

#include "app/CConstants.h"
#include "files/CXMLResultsSerializer.h"
#include "model/CDataSetMapping.h"
#include "model/CDataSetMeasurement.h"
#include "model/CMeasureBlockMapping.h"
#include "model/CMeasurementParameters.h"
#include "model/CUnits.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QThread>

#include <hdf5.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#ifdef TESVANA_FUZZ_BUILD
#include <sanitizer/common_interface_defs.h>
#endif
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
QString tr(const char* text)
{
    return QCoreApplication::translate("CHdf5ResultsFile", text);
}

const char* const Columns[] = {"B", "BBprime", "Bx", "By", "Bz", "temperature", "dB"};
constexpr int ColumnCount = 7;
constexpr hsize_t ChunkRows = 65536;
constexpr qint64 NoTime = std::numeric_limits<qint64>::min();

// An HDF5 identifier closed with its own function when it goes out of scope.
class Handle
{
public:
    Handle(hid_t id, herr_t (*close)(hid_t)) : m_Id(id), m_Close(close) {}
    ~Handle()
    {
        if (m_Id >= 0)
            m_Close(m_Id);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    operator hid_t() const { return m_Id; }
    bool ok() const { return m_Id >= 0; }

private:
    hid_t m_Id;
    herr_t (*m_Close)(hid_t);
};

// The library prints its own error stack by default: the program says what failed itself.
void quiet()
{
    H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
}

hid_t utf8String()
{
    const hid_t type = H5Tcopy(H5T_C_S1);
    H5Tset_size(type, H5T_VARIABLE);
    H5Tset_cset(type, H5T_CSET_UTF8);
    return type;
}

bool writeText(hid_t object, const char* name, const QString& value)
{
    const QByteArray bytes = value.toUtf8();
    const char* text = bytes.constData();
    Handle type(utf8String(), H5Tclose);
    Handle space(H5Screate(H5S_SCALAR), H5Sclose);
    Handle attribute(H5Acreate2(object, name, type, space, H5P_DEFAULT, H5P_DEFAULT), H5Aclose);
    return attribute.ok() && H5Awrite(attribute, type, &text) >= 0;
}

bool writeNumber(hid_t object, const char* name, double value)
{
    Handle space(H5Screate(H5S_SCALAR), H5Sclose);
    Handle attribute(H5Acreate2(object, name, H5T_IEEE_F64LE, space, H5P_DEFAULT, H5P_DEFAULT), H5Aclose);
    return attribute.ok() && H5Awrite(attribute, H5T_NATIVE_DOUBLE, &value) >= 0;
}

bool readText(hid_t object, const char* name, QString& value)
{
    if (H5Aexists(object, name) <= 0)
        return false;
    Handle attribute(H5Aopen(object, name, H5P_DEFAULT), H5Aclose);
    Handle stored(H5Aget_type(attribute), H5Tclose);
    if (!attribute.ok() || H5Tget_class(stored) != H5T_STRING || H5Tis_variable_str(stored) <= 0)
        return false;
    Handle type(utf8String(), H5Tclose);
    char* text = nullptr;
    if (H5Aread(attribute, type, &text) < 0)
        return false;
    value = QString::fromUtf8(text);
    H5free_memory(text);
    return true;
}

// An empty dataset of rows `columns` wide that grows as rows are appended, chunked and
// deflated (shuffled first: neighbouring samples share their high bytes).
hid_t growingColumn(hid_t group, const char* name, hid_t fileType, hsize_t columns, hsize_t chunkRows)
{
    const int rank = columns > 1 ? 2 : 1;
    const hsize_t dimensions[2] = {0, columns};
    const hsize_t most[2] = {H5S_UNLIMITED, columns};
    Handle space(H5Screate_simple(rank, dimensions, most), H5Sclose);
    Handle properties(H5Pcreate(H5P_DATASET_CREATE), H5Pclose);
    const hsize_t chunk[2] = {chunkRows, columns};
    H5Pset_chunk(properties, rank, chunk);
    H5Pset_shuffle(properties);
    H5Pset_deflate(properties, 4);
    return H5Dcreate2(group, name, fileType, space, H5P_DEFAULT, properties, H5P_DEFAULT);
}

// Appends `count` rows after the `rows` the dataset holds.
bool appendRows(hid_t dataset, hid_t memoryType, const void* data, hsize_t rows, hsize_t count,
                hsize_t columns = 1)
{
    if (count == 0)
        return true;
    const int rank = columns > 1 ? 2 : 1;
    const hsize_t grown[2] = {rows + count, columns};
    if (H5Dset_extent(dataset, grown) < 0)
        return false;
    Handle file(H5Dget_space(dataset), H5Sclose);
    const hsize_t start[2] = {rows, 0};
    const hsize_t size[2] = {count, columns};
    Handle memory(H5Screate_simple(rank, size, nullptr), H5Sclose);
    return H5Sselect_hyperslab(file, H5S_SELECT_SET, start, nullptr, size, nullptr) >= 0 &&
           H5Dwrite(dataset, memoryType, memory, file, H5P_DEFAULT, data) >= 0;
}

// A damaged or hostile file may claim any size: a dataset whose chunks would take more than
// 64 MB, whose stored chunks claim more than the file, or that holds more than such a file
// could even compressed a thousand-fold, is refused before anything is allocated for it.
bool plausibleSize(hid_t dataset, hsize_t elements)
{
    constexpr hsize_t most = hsize_t(64) << 20;
    Handle type(H5Dget_type(dataset), H5Tclose);
    const hsize_t size = std::max<hsize_t>(1, type.ok() ? H5Tget_size(type) : 1);
    Handle properties(H5Dget_create_plist(dataset), H5Pclose);
    if (!properties.ok())
        return false;
    const H5D_layout_t layout = H5Pget_layout(properties);
    // Stored whole (not chunked), the data must be all there: the library copies as many
    // bytes as the shape asks from what the file holds.
    Handle space(H5Dget_space(dataset), H5Sclose);
    const hssize_t extent = space.ok() ? H5Sget_simple_extent_npoints(space) : -1;
    if (extent < 0 || ((layout == H5D_COMPACT || layout == H5D_CONTIGUOUS) && extent > 0 &&
                       H5Dget_storage_size(dataset) / size < hsize_t(extent)))
        return false;
    Handle file(H5Iget_file_id(dataset), H5Fclose);
    hsize_t fileSize = 0;
    if (!file.ok() || H5Fget_filesize(file, &fileSize) < 0)
        return false;
    if (layout == H5D_CHUNKED)
    {
        hsize_t chunk[H5S_MAX_RANK];
        const int rank = H5Pget_chunk(properties, H5S_MAX_RANK, chunk);
        if (rank < 1 || rank > 2 || chunk[0] == 0)
            return false;
        hsize_t bytes = size;
        for (int i = 0; i < rank; ++i)
        {
            if (chunk[i] > most || bytes * chunk[i] > most)
                return false;
            bytes *= chunk[i];
        }
        // Each chunk lies within the file, and one stored with none of its filters (the
        // library then copies a whole chunk's bytes from it) is a whole chunk long; texts of
        // any length are stored as references, of another size than in memory.
        const int filters = std::clamp(H5Pget_nfilters(properties), 0, 31);
        const unsigned allSkipped = (1u << filters) - 1u;
        const bool references = H5Tis_variable_str(type) > 0 || H5Tget_class(type) == H5T_VLEN;
        hsize_t dimensions[2] = {0, 1};
        H5Sget_simple_extent_dims(space, dimensions, nullptr);
        for (hsize_t row = 0; row < dimensions[0]; row += chunk[0])
        {
            const hsize_t offset[2] = {row, 0};
            unsigned mask = 0;
            haddr_t address = HADDR_UNDEF;
            hsize_t stored = 0;
            if (H5Dget_chunk_info_by_coord(dataset, offset, &mask, &address, &stored) < 0)
                return false;
            if (address == HADDR_UNDEF)
                continue; // never written: the fill value
            if (address > fileSize || stored > fileSize - address ||
                (!references && (mask & allSkipped) == allSkipped && stored != bytes))
                return false;
        }
    }
    // What its chunks claim to take in the file, which the library reads a chunk at a time.
    return H5Dget_storage_size(dataset) <= fileSize && elements <= (most + fileSize * 1000) / size;
}

// The rows of a one- or two-dimensional dataset (`columns` wide); false when it is absent
// or of another shape.
template <typename T>
bool readColumn(hid_t group, const char* name, hid_t memoryType, std::vector<T>& values, hsize_t columns = 1)
{
    if (H5Lexists(group, name, H5P_DEFAULT) <= 0)
        return false;
    Handle dataset(H5Dopen2(group, name, H5P_DEFAULT), H5Dclose);
    Handle space(H5Dget_space(dataset), H5Sclose);
    const int rank = H5Sget_simple_extent_ndims(space);
    hsize_t dimensions[2] = {0, 1};
    if (!dataset.ok() || rank != (columns > 1 ? 2 : 1) ||
        H5Sget_simple_extent_dims(space, dimensions, nullptr) < 0 ||
        (columns > 1 && dimensions[1] != columns) || !plausibleSize(dataset, dimensions[0] * columns))
        return false;
    values.resize(std::size_t(dimensions[0] * columns));
    return values.empty() || H5Dread(dataset, memoryType, H5S_ALL, H5S_ALL, H5P_DEFAULT, values.data()) >= 0;
}

double column(const CFieldIntensityResult& sample, int index)
{
    switch (index)
    {
    case 0:
        return double(sample.B());
    case 1:
        return double(sample.BBprime());
    case 2:
        return double(sample.Bx());
    case 3:
        return double(sample.By());
    case 4:
        return double(sample.Bz());
    case 5:
        return double(sample.Temperature());
    default:
        return double(sample.dB());
    }
}

void setColumn(CFieldIntensityResult& sample, int index, double value)
{
    switch (index)
    {
    case 0:
        sample.setB(float(value));
        break;
    case 1:
        sample.setBBprime(float(value));
        break;
    case 2:
        sample.setBx(float(value));
        break;
    case 3:
        sample.setBy(float(value));
        break;
    case 4:
        sample.setBz(float(value));
        break;
    case 5:
        sample.setTemperature(value >= 0 && value <= 65535 ? quint16(value) : 0);
        break;
    default:
        sample.setdB(float(value));
    }
}

// Nanoseconds since the epoch: the whole seconds of the time, and the fraction the file
// writes (its nine digits).
qint64 nanoseconds(const CFieldIntensityResult& sample)
{
    if (!sample.Timestamp.isValid())
        return NoTime;
    const qint64 ms = sample.Timestamp.toMSecsSinceEpoch();
    const qint64 seconds = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    return seconds * 1000000000LL + qint64(sample.TimestampNanosecond % 1000000000ULL);
}

// A rank-1 dataset of the group and its length; -1 when absent or of another shape.
hid_t openColumn(hid_t group, const char* name, hsize_t& rows)
{
    if (H5Lexists(group, name, H5P_DEFAULT) <= 0)
        return -1;
    const hid_t dataset = H5Dopen2(group, name, H5P_DEFAULT);
    Handle space(H5Dget_space(dataset), H5Sclose);
    if (dataset < 0 || H5Sget_simple_extent_ndims(space) != 1 ||
        H5Sget_simple_extent_dims(space, &rows, nullptr) < 0)
    {
        if (dataset >= 0)
            H5Dclose(dataset);
        return -1;
    }
    return dataset;
}

// Rows [from, from + count) of a rank-1 dataset.
template <typename T>
bool readRows(hid_t dataset, hid_t memoryType, hsize_t from, hsize_t count, std::vector<T>& values)
{
    if (!plausibleSize(dataset, count))
        return false;
    values.resize(std::size_t(count));
    if (count == 0)
        return true;
    Handle file(H5Dget_space(dataset), H5Sclose);
    Handle memory(H5Screate_simple(1, &count, nullptr), H5Sclose);
    return H5Sselect_hyperslab(file, H5S_SELECT_SET, &from, nullptr, &count, nullptr) >= 0 &&
           H5Dread(dataset, memoryType, memory, file, H5P_DEFAULT, values.data()) >= 0;
}

// Times as the XML reader makes them: at the local time's offset from UTC of their second,
// which is worked out once per second (a local-time conversion costs microseconds).
class LocalTimes
{
public:
    void Set(CFieldIntensityResult& sample, qint64 ns)
    {
        if (ns == NoTime)
            return;
        const qint64 seconds = ns >= 0 ? ns / 1000000000LL : -((-ns + 999999999LL) / 1000000000LL);
        const qint64 fraction = ns - seconds * 1000000000LL;
        if (seconds != m_Second)
        {
            m_Second = seconds;
            m_Offset = QDateTime::fromMSecsSinceEpoch(seconds * 1000, Qt::LocalTime).offsetFromUtc();
        }
        sample.Timestamp =
            QDateTime::fromMSecsSinceEpoch(seconds * 1000 + fraction / 1000000, Qt::OffsetFromUTC, m_Offset);
        sample.TimestampNanosecond = quint64(fraction);
    }

private:
    qint64 m_Second = std::numeric_limits<qint64>::min();
    int m_Offset = 0;
};

quint64 littleEndian(const char* bytes, int size)
{
    quint64 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | uchar(bytes[i]);
    return value;
}

// Whether every global heap collection of the file (where variable-length strings live)
// is well formed. The library walks a collection object by object and never ends on an
// object that claims no size (a damaged or hostile file): such a file is refused first.
bool globalHeapsAreSound(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true; // the library says why it cannot be read
    const QByteArray signature = QByteArrayLiteral("GCOL\x01\0\0\0");
    constexpr qint64 chunk = 4 << 20;
    for (qint64 at = 0; at < file.size(); at += chunk)
    {
        file.seek(at);
        const QByteArray bytes = file.read(chunk + signature.size() - 1);
        for (int found = bytes.indexOf(signature); found >= 0; found = bytes.indexOf(signature, found + 1))
        {
            QFile heap(path);
            heap.open(QIODevice::ReadOnly);
            heap.seek(at + found + signature.size());
            const QByteArray sizeBytes = heap.read(8);
            if (sizeBytes.size() < 8)
                return false;
            const quint64 size = littleEndian(sizeBytes.constData(), 8);
            heap.seek(at + found);
            if (size < 16 || size > quint64(file.size()))
                return false;
            const QByteArray collection = heap.read(qint64(size));
            if (quint64(collection.size()) < size)
                return false;
            // The walk the library makes: object headers of 16 bytes, data padded to 8.
            quint64 p = 16;
            while (p + 16 <= size)
            {
                const char* object = collection.constData() + p;
                const quint64 index = littleEndian(object, 2);
                const quint64 length = littleEndian(object + 8, 8);
                const quint64 need = index > 0 ? 16 + ((length + 7) & ~quint64(7)) : length;
                if (need == 0 || length > size || need > size - p)
                    return false;
                p += need;
            }
        }
    }
    return true;
}

// The HDF5 library trusts the structure of the files it reads: a damaged or hostile file can
// make it read out of bounds or crash, whatever the reader checks first. So `work` is first
// done in a child process, which has a copy of this one's memory and writes nothing; true
// when the child got through it (failing cleanly is getting through), false when it crashed
// or did not end in time. The last file's outcome is kept: one file is read a few times.
bool survivesInAChild(const QString& path, const char* what, const std::function<void()>& work)
{
    static QString lastKey;
    static bool lastOutcome = false;
    static bool inChild = false;
    if (inChild)
        return true; // the child itself does the work
    const QFileInfo info(path);
    const QString key = path + QLatin1Char('|') + QString::fromLatin1(what) + QLatin1Char('|') +
                        QString::number(info.size()) + QLatin1Char('|') +
                        QString::number(info.lastModified().toMSecsSinceEpoch());
    if (key == lastKey)
        return lastOutcome;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return true; // no child to try it in: read as before
    if (child == 0)
    {
        inChild = true;
#ifdef TESVANA_FUZZ_BUILD
        __sanitizer_set_death_callback(nullptr);
#endif
        work();
        _exit(0);
    }
    // Time to read the structure and a first stretch, generous for a slow disk.
#ifdef TESVANA_HDF5_CHILD_PATIENCE_MS
    const qint64 patience = TESVANA_HDF5_CHILD_PATIENCE_MS;
#else
    const qint64 patience = 20000 + info.size() / 20000;
#endif
    QElapsedTimer waited;
    waited.start();
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(child, &status, WNOHANG)) == 0 && waited.elapsed() < patience)
        QThread::msleep(5);
    if (ended == 0)
    {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    lastKey = key;
    lastOutcome = ended == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return lastOutcome;
}

QString unsafeFile(const QString& path)
{
    return tr("%1 is damaged: the HDF5 library cannot read it safely").arg(path);
}

template <typename DataSet>
bool read(const QString& path, DataSet& dataSet, const char* kind, QString* error,
          const std::function<void(const QSharedPointer<CMeasureBlock>&)>& blockRead, bool probe = false);

template <typename DataSet>
bool readSafely(const QString& path, DataSet& dataSet, const char* kind, QString* error,
                const std::function<void(const QSharedPointer<CMeasureBlock>&)>& blockRead)
{
    // The child reads into its own copy of the data set, hands no block on, and stops after
    // the first stretch of samples.
    if (!survivesInAChild(path, kind, [&] { read(path, dataSet, kind, nullptr, {}, true); }))
    {
        if (error)
            *error = unsafeFile(path);
        return false;
    }
    return read(path, dataSet, kind, error, blockRead);
}

template <typename DataSet>
bool read(const QString& path, DataSet& dataSet, const char* kind, QString* error,
          const std::function<void(const QSharedPointer<CMeasureBlock>&)>& blockRead, bool probe)
{
    using Block = typename std::remove_reference<decltype(*dataSet.MeasureBlocks()->front())>::type;
    const auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    quiet();
    if (!globalHeapsAreSound(path))
        return fail(tr("%1 is damaged: its stored texts are not readable").arg(path));
    Handle file(H5Fopen(QFile::encodeName(path).constData(), H5F_ACC_RDONLY, H5P_DEFAULT), H5Fclose);
    if (!file.ok())
        return fail(tr("cannot read %1 as an HDF5 file").arg(path));
    if (H5Lexists(file, kind, H5P_DEFAULT) <= 0)
        return fail(tr("the file holds no %1 group").arg(QString::fromLatin1(kind)));
    Handle group(H5Gopen2(file, kind, H5P_DEFAULT), H5Gclose);
    Handle index(H5Lexists(group, "blocks", H5P_DEFAULT) > 0 ? H5Gopen2(group, "blocks", H5P_DEFAULT) : -1,
                 H5Gclose);
    QString parameters, instrument, comment, date;
    if (!group.ok() || !index.ok() || !readText(group, "parameters", parameters))
        return fail(tr("the file is not a recording of this program (no parameters or block index)"));
    readText(group, "instrument", instrument);
    readText(group, "comment", comment);
    readText(group, "date", date);

    // The columns are read a stretch of blocks at a time; the block index whole.
    hsize_t rows = 0;
    Handle times(openColumn(group, "timestamp", rows), H5Dclose);
    std::vector<std::unique_ptr<Handle>> columns;
    bool ok = times.ok();
    for (int c = 0; ok && c < ColumnCount; ++c)
    {
        hsize_t length = 0;
        columns.push_back(std::make_unique<Handle>(openColumn(group, Columns[c], length), H5Dclose));
        ok = columns.back()->ok() && length == rows;
    }
    std::vector<qint64> firsts;
    if (!ok || !readColumn(index, "first_sample", H5T_NATIVE_INT64, firsts))
        return fail(tr("the file's sample columns are missing or of unequal length"));
    // The block index must cut the rows in order.
    for (std::size_t b = 0; b < firsts.size(); ++b)
        if (firsts[b] < (b == 0 ? 0 : firsts[b - 1]) || firsts[b] > qint64(rows) ||
            (b == 0 && firsts[b] != 0))
            return fail(tr("the file's block index does not follow its rows"));
    std::vector<QString> comments(firsts.size());
    if (H5Lexists(index, "comment", H5P_DEFAULT) > 0)
    {
        Handle dataset(H5Dopen2(index, "comment", H5P_DEFAULT), H5Dclose);
        Handle space(H5Dget_space(dataset), H5Sclose);
        Handle type(utf8String(), H5Tclose);
        hsize_t count = 0;
        Handle stored(H5Dget_type(dataset), H5Tclose);
        if (H5Sget_simple_extent_ndims(space) == 1 &&
            H5Sget_simple_extent_dims(space, &count, nullptr) >= 0 && count == firsts.size() &&
            H5Tis_variable_str(stored) > 0 && plausibleSize(dataset, count))
        {
            // Each comment's length is the file's word: the library would allocate whatever
            // a damaged file claims. Past a comment's plausible size the read fails instead.
            Handle transfer(H5Pcreate(H5P_DATASET_XFER), H5Pclose);
            H5Pset_vlen_mem_manager(
                transfer,
                [](size_t size, void*) -> void* {
                    return size <= (std::size_t(1) << 20) ? malloc(size) : nullptr;
                },
                nullptr, [](void* memory, void*) { free(memory); }, nullptr);
            std::vector<char*> texts(firsts.size(), nullptr);
            if (count > 0 && H5Dread(dataset, type, H5S_ALL, H5S_ALL, transfer, texts.data()) >= 0)
            {
                for (std::size_t b = 0; b < texts.size(); ++b)
                    comments[b] = QString::fromUtf8(texts[b]);
                H5Dvlen_reclaim(type, space, transfer, texts.data());
            }
        }
    }
    std::vector<double> positions, orientations;
    if constexpr (std::is_same<DataSet, CDataSetMapping>::value)
    {
        if (!readColumn(index, "position", H5T_NATIVE_DOUBLE, positions, 3) ||
            !readColumn(index, "orientation", H5T_NATIVE_DOUBLE, orientations, 3) ||
            positions.size() != 3 * firsts.size() || orientations.size() != 3 * firsts.size())
            return fail(tr("the map's positions or orientations are missing"));
    }

    dataSet.setInstrumentName(instrument);
    dataSet.setComment(comment);
    dataSet.setDate(date);
    CXMLResultsSerializer::ApplyParametersText(&dataSet, parameters);
    LocalTimes localTimes;
    std::vector<qint64> stretchTimes;
    std::vector<std::vector<double>> stretch(ColumnCount);
    for (std::size_t b = 0; b < firsts.size();)
    {
        // Whole blocks up to about a chunk of rows, read at once.
        std::size_t e = b + 1;
        while (e < firsts.size() && hsize_t(firsts[e] - firsts[b]) < ChunkRows)
            ++e;
        const hsize_t from = hsize_t(firsts[b]);
        const hsize_t to = e < firsts.size() ? hsize_t(firsts[e]) : rows;
        bool read = readRows(times, H5T_NATIVE_INT64, from, to - from, stretchTimes);
        for (int c = 0; read && c < ColumnCount; ++c)
            read = readRows(*columns[std::size_t(c)], H5T_NATIVE_DOUBLE, from, to - from,
                            stretch[std::size_t(c)]);
        if (!read)
            return fail(tr("the file's samples cannot be read (rows %1 to %2)").arg(from).arg(to));
        if (probe)
            return true;
        for (; b < e; ++b)
        {
            QSharedPointer<Block> block(new Block());
            block->setComment(comments[b]);
            const hsize_t end = b + 1 < firsts.size() ? hsize_t(firsts[b + 1]) : rows;
            block->Results.reserve(int(end - hsize_t(firsts[b])));
            for (hsize_t row = hsize_t(firsts[b]); row < end; ++row)
            {
                auto sample = QSharedPointer<CFieldIntensityResult>::create();
                localTimes.Set(*sample, stretchTimes[std::size_t(row - from)]);
                for (int c = 0; c < ColumnCount; ++c)
                    setColumn(*sample, c, stretch[std::size_t(c)][std::size_t(row - from)]);
                block->Results.append(sample);
            }
            if constexpr (std::is_same<DataSet, CDataSetMapping>::value)
            {
                block->Position = CPosition(positions[3 * b], positions[3 * b + 1], positions[3 * b + 2]);
                block->Orientation =
                    COrientation(orientations[3 * b], orientations[3 * b + 1], orientations[3 * b + 2]);
                // Saved in the mapping's frame, as the XML file is.
                block->setRotAppliedOnMeasBlock(true);
            }
            dataSet.AppendLoadedBlock(block);
            if (blockRead)
                blockRead(block);
        }
    }
    if constexpr (std::is_same<DataSet, CDataSetMapping>::value)
        dataSet.setResultsCount(qulonglong(firsts.size()));
    else
        dataSet.setResultsCount(qulonglong(rows));
    return true;
}
} // namespace

bool CHdf5ResultsFile::IsHdf5(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(8) == QByteArray("\x89HDF\r\n\x1a\n", 8);
}

namespace
{
template <typename DataSet> bool writeWhole(DataSet& dataSet, const QString& path, QString* error)
{
    if (dataSet.MeasureBlocks()->empty())
    {
        if (error)
            *error = tr("the recording holds no block");
        return false;
    }
    CHdf5ResultsFile::Writer writer;
    if (!writer.Begin(path, dataSet, std::is_same<DataSet, CDataSetMapping>::value, error))
        return false;
    for (const auto& block : *dataSet.MeasureBlocks())
        if (!writer.Add(*block))
            break;
    return writer.End(error);
}
} // namespace

bool CHdf5ResultsFile::Write(CDataSetMeasurement& dataSet, const QString& path, QString* error)
{
    return writeWhole(dataSet, path, error);
}

bool CHdf5ResultsFile::Write(CDataSetMapping& dataSet, const QString& path, QString* error)
{
    return writeWhole(dataSet, path, error);
}

struct CHdf5ResultsFile::Writer::Open
{
    hid_t file = -1, group = -1, index = -1;
    hid_t columns[ColumnCount + 1] = {}; // the timestamps, then the values
    hid_t first = -1, comment = -1, position = -1, orientation = -1;
    hid_t stringType = -1;
};

CHdf5ResultsFile::Writer::Writer() = default;

CHdf5ResultsFile::Writer::~Writer()
{
    // Not ended: nothing of it is left.
    if (m_pOpen)
    {
        l_Close();
        QFile::remove(m_Partial);
    }
}

void CHdf5ResultsFile::Writer::l_Close()
{
    Open& o = *m_pOpen;
    for (hid_t dataset : o.columns)
        if (dataset > 0)
            H5Dclose(dataset);
    for (hid_t dataset : {o.first, o.comment, o.position, o.orientation})
        if (dataset >= 0)
            H5Dclose(dataset);
    if (o.stringType >= 0)
        H5Tclose(o.stringType);
    for (hid_t group : {o.index, o.group})
        if (group >= 0)
            H5Gclose(group);
    if (o.file >= 0)
        H5Fclose(o.file);
    m_pOpen.reset();
}

bool CHdf5ResultsFile::Writer::Begin(const QString& path, CDataset& dataSet, bool mapping, QString* error)
{
    quiet();
    m_Path = path;
    // Written beside the target and put in place once whole: a failed export leaves the
    // previous file as it was.
    m_Partial = path + QStringLiteral(".writing");
    m_Mapping = mapping;
    m_pOpen = std::make_unique<Open>();
    Open& o = *m_pOpen;
    const char* kind = mapping ? "mapping" : "measurement";
    o.file = H5Fcreate(QFile::encodeName(m_Partial).constData(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT);
    if (o.file >= 0)
        o.group = H5Gcreate2(o.file, kind, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT);
    if (o.group >= 0)
        o.index = H5Gcreate2(o.group, "blocks", H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT);
    const CMeasurementParameters defaults;
    const CMeasurementParameters* parameters =
        dataSet.MeasurementParameters() ? dataSet.MeasurementParameters() : &defaults;
    const QString text = parameters->ToString(" ");
    bool ok =
        o.index >= 0 && writeText(o.file, "program", CConstants::SoftwareName) &&
        writeText(o.group, "kind", QString::fromLatin1(kind)) && writeText(o.group, "parameters", text) &&
        writeText(o.group, "unit", CUnitsToQString(parameters->Units())) &&
        writeText(o.group, "instrument", dataSet.InstrumentName()) &&
        writeText(o.group, "comment", dataSet.Comment()) && writeText(o.group, "date", dataSet.Date()) &&
        writeText(o.group, "program", CConstants::SoftwareName) &&
        writeText(o.group, "timestamp_unit", QStringLiteral("ns since 1970-01-01T00:00:00Z"));
    // Each parameter on its own: a number where it is one.
    const auto pairs = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& pair : pairs)
    {
        const int equals = pair.indexOf(QLatin1Char('='));
        if (!ok || equals <= 0)
            continue;
        const QByteArray name = pair.left(equals).toUtf8();
        bool number = false;
        const double value = pair.midRef(equals + 1).toDouble(&number);
        ok = number ? writeNumber(o.group, name.constData(), value)
                    : writeText(o.group, name.constData(), pair.mid(equals + 1));
    }
    if (ok)
    {
        o.columns[0] = growingColumn(o.group, "timestamp", H5T_STD_I64LE, 1, ChunkRows);
        for (int c = 0; c < ColumnCount; ++c)
            o.columns[c + 1] = growingColumn(o.group, Columns[c], H5T_IEEE_F64LE, 1, ChunkRows);
        o.stringType = utf8String();
        o.first = growingColumn(o.index, "first_sample", H5T_STD_I64LE, 1, 4096);
        o.comment = growingColumn(o.index, "comment", o.stringType, 1, 4096);
        if (mapping)
        {
            o.position = growingColumn(o.index, "position", H5T_IEEE_F64LE, 3, 4096);
            o.orientation = growingColumn(o.index, "orientation", H5T_IEEE_F64LE, 3, 4096);
        }
        ok = std::all_of(std::begin(o.columns), std::end(o.columns), [](hid_t d) { return d >= 0; }) &&
             o.first >= 0 && o.comment >= 0 && (!mapping || (o.position >= 0 && o.orientation >= 0));
    }
    if (!ok)
    {
        l_Close();
        QFile::remove(m_Partial);
        if (error)
            *error = tr("cannot write %1").arg(path);
        return false;
    }
    return true;
}

bool CHdf5ResultsFile::Writer::Add(const CMeasureBlock& block)
{
    if (!m_pOpen || m_Failed)
        return false;
    m_Firsts.push_back(qint64(m_Rows + hsize_t(m_Times.size())));
    m_Comments.push_back(block.Comment().toUtf8());
    if (const auto* mapped = dynamic_cast<const CMeasureBlockMapping*>(&block))
    {
        m_Positions.insert(m_Positions.end(),
                           {mapped->Position.X(), mapped->Position.Y(), mapped->Position.Z()});
        m_Orientations.insert(m_Orientations.end(), {mapped->Orientation.Roll(), mapped->Orientation.Pitch(),
                                                     mapped->Orientation.Yaw()});
    }
    m_Values.resize(ColumnCount);
    for (const auto& sample : block.Results)
    {
        m_Times.push_back(nanoseconds(*sample));
        for (int c = 0; c < ColumnCount; ++c)
            m_Values[std::size_t(c)].push_back(column(*sample, c));
    }
    // Written a chunk at a time: memory holds at most one chunk of rows and of blocks.
    if ((m_Times.size() >= ChunkRows && !l_FlushRows()) || (m_Firsts.size() >= 4096 && !l_FlushBlocks()))
        m_Failed = true;
    return !m_Failed;
}

bool CHdf5ResultsFile::Writer::l_FlushRows()
{
    Open& o = *m_pOpen;
    const hsize_t count = hsize_t(m_Times.size());
    bool ok = appendRows(o.columns[0], H5T_NATIVE_INT64, m_Times.data(), m_Rows, count);
    for (int c = 0; ok && c < ColumnCount; ++c)
        ok = appendRows(o.columns[c + 1], H5T_NATIVE_DOUBLE, m_Values[std::size_t(c)].data(), m_Rows, count);
    m_Rows += count;
    m_Times.clear();
    for (auto& values : m_Values)
        values.clear();
    return ok;
}

bool CHdf5ResultsFile::Writer::l_FlushBlocks()
{
    Open& o = *m_pOpen;
    const hsize_t count = hsize_t(m_Firsts.size());
    std::vector<const char*> texts;
    for (const QByteArray& comment : m_Comments)
        texts.push_back(comment.constData());
    bool ok = appendRows(o.first, H5T_NATIVE_INT64, m_Firsts.data(), m_Blocks, count) &&
              appendRows(o.comment, o.stringType, texts.data(), m_Blocks, count);
    if (m_Mapping)
        ok = ok && appendRows(o.position, H5T_NATIVE_DOUBLE, m_Positions.data(), m_Blocks, count, 3) &&
             appendRows(o.orientation, H5T_NATIVE_DOUBLE, m_Orientations.data(), m_Blocks, count, 3);
    m_Blocks += count;
    m_Firsts.clear();
    m_Comments.clear();
    m_Positions.clear();
    m_Orientations.clear();
    return ok;
}

bool CHdf5ResultsFile::Writer::End(QString* error)
{
    if (!m_pOpen)
        return false;
    const bool written =
        !m_Failed && l_FlushRows() && l_FlushBlocks() && H5Fflush(m_pOpen->file, H5F_SCOPE_GLOBAL) >= 0;
    l_Close();
    if (!written ||
        std::rename(QFile::encodeName(m_Partial).constData(), QFile::encodeName(m_Path).constData()) != 0)
    {
        QFile::remove(m_Partial);
        if (error)
            *error = tr("cannot write %1").arg(m_Path);
        return false;
    }
    return true;
}

QString CHdf5ResultsFile::Kind(const QString& path, QString* error)
{
    quiet();
    if (!survivesInAChild(path, "kind", [&] { Kind(path, nullptr); }))
    {
        if (error)
            *error = unsafeFile(path);
        return QString();
    }
    Handle file(H5Fopen(QFile::encodeName(path).constData(), H5F_ACC_RDONLY, H5P_DEFAULT), H5Fclose);
    if (!file.ok())
    {
        if (error)
            *error = tr("cannot read %1 as an HDF5 file").arg(path);
        return QString();
    }
    for (const char* kind : {"measurement", "mapping"})
        if (H5Lexists(file, kind, H5P_DEFAULT) > 0)
            return QString::fromLatin1(kind);
    if (error)
        *error = tr("the HDF5 file holds no recording of this program");
    return QString();
}

bool CHdf5ResultsFile::Read(const QString& path, CDataSetMeasurement& dataSet, QString* error,
                            const BlockRead& blockRead)
{
    return readSafely(path, dataSet, "measurement", error, blockRead);
}

bool CHdf5ResultsFile::Read(const QString& path, CDataSetMapping& dataSet, QString* error,
                            const BlockRead& blockRead)
{
    return readSafely(path, dataSet, "mapping", error, blockRead);
}
