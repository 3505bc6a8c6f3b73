#include "files/CXMLResultsSerializer.h"

#include "app/CConstants.h"
#include "app/CXmlNesting.h"
#include "app/LogCategories.h"
#include "files/ResultsFileFormat.h"
#include "model/CBlockRowsBatches.h"
#include "model/CDataSetMapping.h"
#include "model/CDataSetMeasurement.h"
#include "model/CMeasureBlockMapping.h"
#include "model/CNumberText.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <deque>
#include <limits>

namespace
{
namespace F = ResultsFileFormat;

// A flux text this long (about 700 samples) makes it worth parsing on a second thread.
// The fuzzing build lowers it, so that inputs of fuzzing size take the threaded path.
#ifdef TESVANA_PARALLEL_FLUX_TEXT
constexpr int ParallelTextSize = TESVANA_PARALLEL_FLUX_TEXT;
#else
constexpr int ParallelTextSize = 64 * 1024;
#endif

// A number that does not parse reads as 0.
float parseFloat(const QChar* begin, int length)
{
    return CNumberText::ToFloat(QStringView(begin, length));
}

quint16 parseTemperature(const QChar* begin, int length)
{
    QStringView text = QStringView(begin, length).trimmed();
    if (!text.isEmpty() && text.front() == QLatin1Char('+'))
        text = text.mid(1);
    quint32 value = 0;
    if (text.isEmpty() || text.size() > 5)
        return 0;
    for (const QChar c : text)
    {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
        value = value * 10 + (c.unicode() - '0');
    }
    return value > 65535 ? 0 : quint16(value);
}

bool digitsAt(const QString& text, std::initializer_list<int> positions)
{
    for (const int i : positions)
    {
        if (i >= text.size() || !text.at(i).isDigit() || text.at(i).unicode() > '9')
            return false;
    }
    return true;
}

int number(const QString& text, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i)
        value = value * 10 + (text.at(i).unicode() - '0');
    return value;
}

QDate parseDate(const QString& text)
{
    // The writer's exact form is parsed directly; anything else through Qt's parser.
    if (text.size() == 10 && text.at(4) == QLatin1Char('.') && text.at(7) == QLatin1Char('.') &&
        digitsAt(text, {0, 1, 2, 3, 5, 6, 8, 9}))
        return QDate(number(text, 0, 4), number(text, 5, 2), number(text, 8, 2));
    return QDate::fromString(text, QStringLiteral("yyyy.MM.dd"));
}

QTime parseClock(const QString& text)
{
    if (text.size() == 8 && text.at(2) == QLatin1Char(':') && text.at(5) == QLatin1Char(':') &&
        digitsAt(text, {0, 1, 3, 4, 6, 7}))
        return QTime(number(text, 0, 2), number(text, 3, 2), number(text, 6, 2));
    return QTime::fromString(text, QStringLiteral("HH:mm:ss"));
}

// Nine digits of nanoseconds from a fraction cut after nine characters or padded
// with zeros; false when it is not plain digits (the general parser decides then).
bool fastFraction(QStringView fraction, quint64& nanoseconds)
{
    quint64 value = 0;
    for (int i = 0; i < 9; ++i)
    {
        ushort c = '0';
        if (i < fraction.size())
            c = fraction.at(i).unicode();
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    nanoseconds = value;
    return true;
}

// Consecutive samples share their date and second. The local date-time of that
// second is worked out once (a local-time conversion costs microseconds: the zone
// file is consulted each time) and every sample adds its milliseconds within the
// same UTC offset, which shows the same wall-clock time: offsets change only at
// zone transitions, and those fall on whole seconds.
struct TimestampReader
{
    QString dateText;
    QString clockText;
    QDate date;
    QTime clock;
    bool cached = false;
    QDateTime second;
    qint64 secondMs = 0;
    int offset = 0;

    void read(QStringView text, QDateTime& timestamp, quint64& nanoseconds)
    {
        const int t = int(text.indexOf(QLatin1Char('T')));
        const QStringView datePart = t < 0 ? text : text.left(t);
        QStringView timePart = t < 0 ? QStringView() : text.mid(t + 1);
        const int nextT = int(timePart.indexOf(QLatin1Char('T')));
        if (nextT >= 0)
            timePart = timePart.left(nextT);
        const int dot = int(timePart.indexOf(QLatin1Char('.')));
        const QStringView clockPart = dot < 0 ? timePart : timePart.left(dot);
        QStringView fraction = dot < 0 ? QStringView() : timePart.mid(dot + 1);
        const int nextDot = int(fraction.indexOf(QLatin1Char('.')));
        if (nextDot >= 0)
            fraction = fraction.left(nextDot);

        if (!fastFraction(fraction, nanoseconds))
        {
            bool ok = false;
            nanoseconds = fraction.left(9).toString().leftJustified(9, QLatin1Char('0')).toULongLong(&ok, 10);
            if (!ok || nanoseconds > 999999999ULL)
                nanoseconds = 0;
        }

        if (!cached || datePart != dateText || clockPart != clockText)
        {
            dateText = datePart.toString();
            clockText = clockPart.toString();
            date = parseDate(dateText);
            clock = parseClock(clockText);
            cached = true;
            if (date.isValid() && clock.isValid())
            {
                second = QDateTime(date, clock, Qt::LocalTime);
                secondMs = second.toMSecsSinceEpoch();
                offset = second.offsetFromUtc();
            }
        }
        const int milliseconds = int(nanoseconds / 1000000ULL);
        if (!date.isValid() || !clock.isValid())
            timestamp = QDateTime();
        else if (second.isValid())
            timestamp = QDateTime::fromMSecsSinceEpoch(secondMs + milliseconds, Qt::OffsetFromUTC, offset);
        else // a wall-clock time the zone skips: Qt's own rules, as for any local time
            timestamp =
                QDateTime(date, QTime::fromMSecsSinceStartOfDay(clock.msecsSinceStartOfDay() + milliseconds),
                          Qt::LocalTime);
    }
};

// One element with its text, escaped as the XML writer escapes it: the pieces of a
// streamed file are the bytes a whole-file save writes.
QByteArray textElement(const QString& element, const QString& text, const QString* unit = nullptr)
{
    QByteArray out;
    QXmlStreamWriter writer(&out);
    writer.writeStartElement(element);
    if (unit)
        writer.writeAttribute(QStringLiteral("unit"), *unit);
    writer.writeCharacters(text);
    writer.writeEndElement();
    return out;
}

QByteArray triple(const QString& element, const QString& unit, double a, double b, double c)
{
    QString text;
    CNumberText::AppendG6(text, a);
    text += QLatin1Char(';');
    CNumberText::AppendG6(text, b);
    text += QLatin1Char(';');
    CNumberText::AppendG6(text, c);
    return textElement(element, text, &unit);
}

// The layout of the indented document: a measurements element is at depth 3, its
// children at depth 4.
constexpr char BlockIndent[] = "\n            ";
constexpr char ChildIndent[] = "\n                ";

// Three numbers joined by ";" (the fixed separator); false unless exactly three pieces.
bool readTriple(const QString& text, double& a, double& b, double& c)
{
    const QVector<QStringRef> pieces = text.splitRef(QLatin1Char(';'));
    if (pieces.size() != 3)
        return false;
    a = CNumberText::ToDouble(pieces.at(0));
    b = CNumberText::ToDouble(pieces.at(1));
    c = CNumberText::ToDouble(pieces.at(2));
    return true;
}

// Makes the samples of a block from its flux text: one sample a row, rows split at
// line feeds, each row's pieces at the column separator (empty pieces kept). Every
// row starts at its first column whatever the row before it held, and rows that are
// empty or only white space (an indented text, a trailing line feed) make no sample.
// Returns how many it made.
int parseFluxRows(CMeasureBlock* block, const QString& text, const QString& columnSeparator, int lastColumn)
{
    int made = 0;
    // Room for every row at once, rather than growing the list a million times.
    const auto* utf16 = reinterpret_cast<const char16_t*>(text.utf16());
    block->Results.reserve(block->Results.size() + int(std::count(utf16, utf16 + text.size(), u'\n')) + 1);
    TimestampReader timestamps;
    const QChar* data = text.constData();
    const int size = text.size();
    const int separatorSize = columnSeparator.size();
    const QChar* separatorData = columnSeparator.constData();
    int rowStart = 0;
    while (rowStart <= size)
    {
        int rowEnd = rowStart;
        while (rowEnd < size && data[rowEnd] != QLatin1Char('\n'))
            ++rowEnd;
        // White space around a row is the document's layout, not part of a value.
        int first = rowStart;
        int last = rowEnd;
        while (first < last && data[first].isSpace())
            ++first;
        while (last > first && data[last - 1].isSpace())
            --last;
        rowStart = rowEnd + 1;
        if (first == last)
            continue;

        // One allocation for the sample and its reference count.
        QSharedPointer<CFieldIntensityResult> result = QSharedPointer<CFieldIntensityResult>::create();
        CFieldIntensityResult* sample = result.data();
        block->Results.append(std::move(result));
        sample->setdB(std::numeric_limits<float>::quiet_NaN());
        ++made;

        int column = 0;
        int start = first;
        for (int i = first; i <= last && column <= lastColumn; ++i)
        {
            if (i < last &&
                !(data[i] == separatorData[0] && i + separatorSize <= last &&
                  QStringView(data + i, separatorSize) == QStringView(separatorData, separatorSize)))
                continue;
            const QChar* piece = data + start;
            const int length = i - start;
            switch (column)
            {
            case 0:
                timestamps.read(QStringView(piece, length), sample->Timestamp, sample->TimestampNanosecond);
                break;
            case 1:
                sample->setB(parseFloat(piece, length));
                break;
            case 2:
                sample->setBBprime(parseFloat(piece, length));
                break;
            case 3:
                sample->setBx(parseFloat(piece, length));
                break;
            case 4:
                sample->setBy(parseFloat(piece, length));
                break;
            case 5:
                sample->setBz(parseFloat(piece, length));
                break;
            case 6:
                sample->setTemperature(parseTemperature(piece, length));
                break;
            case 7:
                sample->setdB(parseFloat(piece, length));
                break;
            }
            ++column;
            start = i + separatorSize;
            i += separatorSize - 1;
        }
    }
    return made;
}
} // namespace

CXMLResultsSerializer::CXMLResultsSerializer(QObject* parent) : CResultsSerializer(parent) {}

// ---- writing ---------------------------------------------------------------

template <typename DataSet>
bool CXMLResultsSerializer::l_Serialize(DataSet* dataSet, QIODevice* device, const QString& description)
{
    if (!dataSet || !device || dataSet->MeasureBlocks()->empty())
        return false;
    if (device->write(l_Head(dataSet, description)) < 0)
        return false;
    const auto& blocks = *dataSet->MeasureBlocks();
    CBlockRowsBatches rows = CBlockRowsBatches::Of(blocks, F::ColumnSeparatorBytes());
    for (std::size_t i = 0; i < blocks.size(); ++i)
    {
        if (!WriteBlock(*device, *blocks[i], rows.Rows(i)))
            return false;
    }
    return device->write(Tail()) >= 0;
}

template <typename DataSet>
QByteArray CXMLResultsSerializer::l_Head(DataSet* dataSet, const QString& description)
{
    QByteArray out;
    QXmlStreamWriter writer(&out);
    writer.setCodec("UTF-8");
    writer.setAutoFormatting(true);
    writer.writeStartDocument(QStringLiteral("1.0"));
    writer.writeStartElement(F::RootElement);
    writer.writeAttribute(QStringLiteral("ver"), QStringLiteral("1.0"));
    SerializeDocumentHeader(writer, description);
    SerializeBodyHeader(writer, dataSet);
    SerializeDatasetHeader(writer, dataSet);
    // The open elements stay open: blocks and the tail follow.
    return out;
}

QByteArray CXMLResultsSerializer::Head(CDataSetMeasurement* dataSet)
{
    return l_Head(dataSet, F::MeasurementDescription);
}

QByteArray CXMLResultsSerializer::Head(CDataSetMapping* dataSet)
{
    return l_Head(dataSet, F::MappingDescription);
}

bool CXMLResultsSerializer::WriteBlock(QIODevice& device, const CMeasureBlock& block, const QByteArray& rows)
{
    QByteArray before = QByteArray(BlockIndent) + "<measurements>" + ChildIndent +
                        textElement(QStringLiteral("comment"), block.Comment());
    if (const auto* mapped = dynamic_cast<const CMeasureBlockMapping*>(&block))
    {
        before += ChildIndent + triple(QStringLiteral("position"), QString(), mapped->Position.X(),
                                       mapped->Position.Y(), mapped->Position.Z());
        before += ChildIndent + triple(QStringLiteral("orientation"), QStringLiteral("degree"),
                                       mapped->Orientation.Roll(), mapped->Orientation.Pitch(),
                                       mapped->Orientation.Yaw());
    }
    // The rows go as they are: they hold nothing XML would escape (digits, signs, ".",
    // ":", ";", "T", "e", "nan", "inf" and line feeds), and skipping the escaping of
    // megabytes of text is most of a save's speed.
    before += ChildIndent;
    before += "<flux>";
    static const QByteArray after = QByteArray("</flux>") + BlockIndent + "</measurements>";
    return device.write(before) == before.size() && device.write(rows) == rows.size() &&
           device.write(after) == after.size();
}

QByteArray CXMLResultsSerializer::Tail()
{
    return QByteArrayLiteral("\n        </dataset>\n    </body>\n</KorvelinXmlRecord>\n");
}

bool CXMLResultsSerializer::Serialize(CDataSetMeasurement* dataSet, QIODevice* device)
{
    return l_Serialize(dataSet, device, F::MeasurementDescription);
}

bool CXMLResultsSerializer::Serialize(CDataSetMapping* dataSet, QIODevice* device)
{
    return l_Serialize(dataSet, device, F::MappingDescription);
}

void CXMLResultsSerializer::SerializeDocumentHeader(QXmlStreamWriter& writer, const QString& description)
{
    writer.writeStartElement(QStringLiteral("header"));
    writer.writeTextElement(QStringLiteral("src"), CConstants::SoftwareName);
    writer.writeTextElement(QStringLiteral("dateTime8601"),
                            CNumberText::DateTime(QDateTime::currentDateTime(), F::DateTimeFormat));
    writer.writeTextElement(QStringLiteral("descr"), description);
    writer.writeEndElement();
}

void CXMLResultsSerializer::SerializeBodyHeader(QXmlStreamWriter& writer, CDataset* dataSet)
{
    writer.writeStartElement(QStringLiteral("body"));
    writer.writeAttribute(QStringLiteral("type"), F::BodyType);
    writer.writeAttribute(QStringLiteral("ver"), QStringLiteral("1.1"));
    writer.writeTextElement(QStringLiteral("comment"), dataSet->Comment());
    writer.writeTextElement(QStringLiteral("instrument"), dataSet->InstrumentName());
}

void CXMLResultsSerializer::l_SerializeDatasetHeader(QXmlStreamWriter& writer, CDataset* dataSet,
                                                     const QString& type)
{
    writer.writeStartElement(QStringLiteral("dataset"));
    writer.writeAttribute(QStringLiteral("type"), type);
    writer.writeAttribute(QStringLiteral("ver"), QStringLiteral("1.2"));
    writer.writeStartElement(QStringLiteral("headings"));
    writer.writeAttribute(QStringLiteral("colsep"), F::ColumnSeparator);
    writer.writeCharacters(F::Headings);
    writer.writeEndElement();
    // A data set without parameters still writes the fresh defaults, so the file stays readable.
    const CMeasurementParameters defaults;
    const CMeasurementParameters* parameters = dataSet->MeasurementParameters();
    writer.writeTextElement(QStringLiteral("parameters"),
                            (parameters ? parameters : &defaults)->ToString(" "));
}

void CXMLResultsSerializer::SerializeDatasetHeader(QXmlStreamWriter& writer, CDataSetMeasurement* dataSet)
{
    l_SerializeDatasetHeader(writer, dataSet, F::MeasurementDatasetType);
}

void CXMLResultsSerializer::SerializeDatasetHeader(QXmlStreamWriter& writer, CDataSetMapping* dataSet)
{
    l_SerializeDatasetHeader(writer, dataSet, F::MappingDatasetType);
}

// ---- reading ---------------------------------------------------------------

bool CXMLResultsSerializer::Deserialize(QIODevice* device, CDataSetMeasurement* dataSet)
{
    return l_Deserialize(device, dataSet, CConstants::RecordFileErrorDetails);
}

bool CXMLResultsSerializer::Deserialize(QIODevice* device, CDataSetMapping* dataSet)
{
    return l_Deserialize(device, dataSet, CConstants::MappingFileErrorDetails);
}

bool CXMLResultsSerializer::l_FailOnReaderError(const QXmlStreamReader& reader)
{
    if (!reader.hasError())
        return false;
    m_LastErrorMessage = tr("The file is malformed at line %1, column %2: %3")
                             .arg(reader.lineNumber())
                             .arg(reader.columnNumber())
                             .arg(reader.errorString());
    return true;
}

template <typename DataSet>
bool CXMLResultsSerializer::l_Deserialize(QIODevice* device, DataSet* dataSet, const QString& notValid)
{
    if (!device || !dataSet)
        return false;
    m_CutShortNotice.clear();
    QXmlStreamReader reader(device);
    if (!reader.readNextStartElement())
    {
        // Nothing but a prolog or white space is an empty file; anything else is broken.
        if (reader.hasError() && reader.error() != QXmlStreamReader::PrematureEndOfDocumentError)
            l_FailOnReaderError(reader);
        else
            m_LastErrorMessage = tr("The file is empty");
        return false;
    }
    if (reader.name() != F::RootElement ||
        reader.attributes().value(QStringLiteral("ver")) != QLatin1String("1.0"))
    {
        m_LastErrorMessage = notValid;
        return false;
    }

    while (reader.readNextStartElement())
    {
        if (reader.name() == QLatin1String("header"))
        {
            DeSerializeHeader(dataSet, reader);
        }
        else if (reader.name() == QLatin1String("body"))
        {
            if (reader.attributes().value(QStringLiteral("type")) != F::BodyType)
            {
                CXmlNesting::SkipCurrentElement(reader);
                continue;
            }
            const QString version = reader.attributes().value(QStringLiteral("ver")).toString();
            if (version != QLatin1String("1.1"))
            {
                m_LastErrorMessage =
                    tr("The Korvelin XML record file body is not supported. (read body v%1).").arg(version);
                return false;
            }
            while (reader.readNextStartElement())
            {
                if (reader.name() == QLatin1String("instrument"))
                    dataSet->setInstrumentName(reader.readElementText());
                else if (reader.name() == QLatin1String("comment"))
                    dataSet->setComment(reader.readElementText());
                else if (reader.name() == QLatin1String("dataset"))
                {
                    if (!DeSerializeDataset(dataSet, reader))
                    {
                        l_FailOnReaderError(reader);
                        return false;
                    }
                }
                else
                    CXmlNesting::SkipCurrentElement(reader);
            }
        }
        else
        {
            CXmlNesting::SkipCurrentElement(reader);
        }
    }
    // A file that ends early (a recording written as it was measured, cut by a crash or a
    // power loss) holds every block written whole before the end: those are its content.
    // Counted as read: a reader handed each block may have let the data set drop it.
    const int blocks = m_BlocksRead;
    // (A device that stopped giving before its end, a reading cancelled, is no such file.)
    if (reader.error() == QXmlStreamReader::PrematureEndOfDocumentError && blocks > 0 && device->atEnd())
    {
        m_CutShortNotice = tr("The file was cut short: the %1 complete blocks it holds were loaded, "
                              "what followed them is lost.")
                               .arg(blocks);
        qCWarning(lcFiles).noquote() << m_CutShortNotice;
        return true;
    }
    return !l_FailOnReaderError(reader);
}

void CXMLResultsSerializer::DeSerializeHeader(CDataset* dataSet, QXmlStreamReader& reader)
{
    while (reader.readNextStartElement())
    {
        if (reader.name() == QLatin1String("dateTime8601"))
            dataSet->setDate(reader.readElementText());
        else
            CXmlNesting::SkipCurrentElement(reader);
    }
}

bool CXMLResultsSerializer::DeSerializeDataset(CDataSetMeasurement* dataSet, QXmlStreamReader& reader)
{
    return l_DeSerializeDataset(dataSet, reader, F::MeasurementDatasetType);
}

bool CXMLResultsSerializer::DeSerializeDataset(CDataSetMapping* dataSet, QXmlStreamReader& reader)
{
    return l_DeSerializeDataset(dataSet, reader, F::MappingDatasetType);
}

template <typename DataSet>
bool CXMLResultsSerializer::l_DeSerializeDataset(DataSet* dataSet, QXmlStreamReader& reader,
                                                 const QString& type)
{
    using Block = typename std::remove_reference<decltype(*dataSet->MeasureBlocks()->front())>::type;
    m_ResultsCounter = 0;
    m_BlocksRead = 0;
    QString separator;
    if (reader.name() != QLatin1String("dataset") ||
        reader.attributes().value(QStringLiteral("type")) != type)
    {
        m_LastErrorMessage = QStringLiteral("The file does not contain a ") + QStringLiteral("dataset") +
                             QStringLiteral(" of type ") + type;
        return false;
    }
    m_DatasetVersion = reader.attributes().value(QStringLiteral("ver")).toString();
    if (m_DatasetVersion != QLatin1String("1.1") && m_DatasetVersion != QLatin1String("1.2"))
    {
        m_LastErrorMessage =
            tr("The measurement dataset type is not supported. (read body v%1).").arg(m_DatasetVersion);
        return false;
    }

    bool blocksRead = true;
    // Blocks read whole but perhaps not parsed yet, each with the number of texts
    // given to the parsing thread by then: it is done when the thread has done those.
    std::deque<std::pair<QSharedPointer<Block>, int>> unannounced;
    const auto announce = [this, &unannounced](bool all) {
        while (!unannounced.empty() &&
               (all || !m_pParsing || m_pParsing->Done() >= unannounced.front().second))
        {
            m_BlockRead(unannounced.front().first);
            unannounced.pop_front();
        }
    };
    m_BlocksGivenToParse = 0;
    QSharedPointer<Block> incomplete;
    while (reader.readNextStartElement())
    {
        if (reader.name() == QLatin1String("headings"))
        {
            separator = reader.attributes().value(QStringLiteral("colsep")).toString();
            CXmlNesting::SkipCurrentElement(reader);
        }
        else if (reader.name() == QLatin1String("parameters"))
        {
            FillMeasurementParameters(dataSet, reader.readElementText());
        }
        else if (reader.name() == QLatin1String("measurements"))
        {
            QSharedPointer<Block> block(new Block());
            dataSet->AppendLoadedBlock(block);
            if (!DeSerializeMeasurements(block.data(), reader, separator))
            {
                blocksRead = false;
                break;
            }
            if (reader.hasError())
            {
                // Not read to its end: taken back once the parsing thread is done with it.
                incomplete = block;
                break;
            }
            ++m_BlocksRead;
            if (m_BlockRead)
            {
                unannounced.emplace_back(block, m_BlocksGivenToParse);
                announce(false);
            }
        }
        else
        {
            CXmlNesting::SkipCurrentElement(reader);
        }
    }
    if (m_pParsing)
    {
        m_ResultsCounter += int(m_pParsing->Finish());
        m_pParsing.reset();
    }
    if (m_BlockRead)
        announce(true);
    if (incomplete)
    {
        m_ResultsCounter -= incomplete->Results.size();
        dataSet->DropLastLoadedBlock();
    }

    // A mapping file that failed on a bad position or orientation counts no point.
    if constexpr (std::is_same<DataSet, CDataSetMapping>::value)
        dataSet->setResultsCount(blocksRead ? qulonglong(dataSet->MeasureBlocks()->size()) : 0);
    else
        dataSet->setResultsCount(qulonglong(m_ResultsCounter));
    return blocksRead;
}

void CXMLResultsSerializer::FillMeasurementParameters(CDataset* dataSet, const QString& text)
{
    auto* parameters = new CMeasurementParameters();
    // One batch: listeners of the new parameters see a single configuration change.
    parameters->setApplyConfiguration(false);
    double statedRate = 0;
    bool rateStated = false;
    QStringList tokens = text.split(QLatin1Char(' '));
    // The text of an unknown unit is itself one space ("Units=  Range=..."): the empty
    // piece it leaves belongs to the unit, or every later value would shift by one.
    if (tokens.size() > 1 && tokens.at(0) == QLatin1String("Units=") && tokens.at(1).isEmpty())
        tokens.removeAt(1);
    for (int i = 0; i < tokens.size() && i <= 10; ++i)
    {
        const QStringList pair = tokens.at(i).split(QLatin1Char('='));
        if (pair.size() != 2)
            continue;
        const QString& value = pair.at(1);
        switch (i)
        {
        case 0:
        {
            const CUnits::UnitType units = QStringToCUnits(value);
            parameters->setUnits(units);
            parameters->setDisplayUnits(units);
            parameters->setUncertaintyUnits(ConvertUnitsToUncertaintyUnits(units));
            break;
        }
        case 1:
            parameters->setRange(CNumberText::ToFloat(value));
            break;
        case 2:
            parameters->setAutoRange(value.toInt() != 0);
            break;
        case 3:
            parameters->setTriggerMode(QStringToCTrigger(value));
            break;
        case 4:
        {
            // Stated, even when it is no number ("inf"): no other rate is taken for it.
            bool number = false;
            const double rate = CNumberText::ToDouble(value, &number);
            rateStated = true;
            statedRate = number ? rate : std::numeric_limits<double>::quiet_NaN();
            parameters->setAcquisitionRate(rate);
            break;
        }
        case 5:
            parameters->setDisplayRate(CNumberText::ToDouble(value));
            break;
        case 6:
            parameters->setAveraging(value.toInt());
            break;
        case 7:
            parameters->setFrequencyMin(CNumberText::ToDouble(value));
            break;
        case 8:
            parameters->setFrequencyMax(CNumberText::ToDouble(value));
            break;
        case 9:
            parameters->setNumberOfBins(CNumberText::ToDouble(value));
            break;
        case 10:
            parameters->setBlockSize(value.toInt());
            break;
        }
    }
    // A file of another tool may state parameters that do not tie together (a block size
    // that is not the rate over the display rate): the later ones then moved the rate. The
    // rate the file states is the one its samples were taken at.
    // One that is no rate at all (0, inf) is kept too: the analyses then say so, rather
    // than work at a rate the file never gave.
    // (Six digits as written: what the program writes ties together within those.)
    const double tied = parameters->AcquisitionRate();
    const bool same = tied == statedRate || (std::isfinite(statedRate) &&
                                             std::abs(tied - statedRate) <= 1e-5 * std::abs(statedRate));
    if (rateStated && !same)
    {
        qCWarning(lcFiles).noquote() << QStringLiteral(
                                            "The file states AcqRate=%1 Hz, which its other "
                                            "parameters do not give (%2 Hz): the stated rate is used")
                                            .arg(statedRate)
                                            .arg(parameters->AcquisitionRate());
        const QSignalBlocker untied(parameters);
        parameters->setAcquisitionRate(statedRate);
    }
    parameters->setApplyConfiguration(true);
    dataSet->AdoptMeasurementParameters(parameters);
}

bool CXMLResultsSerializer::DeSerializeMeasurements(CMeasureBlock* block, QXmlStreamReader& reader,
                                                    const QString& separator)
{
    while (reader.readNextStartElement())
    {
        if (reader.name() == QLatin1String("comment"))
            block->setComment(reader.readElementText());
        else if (reader.name() == QLatin1String("flux"))
            DeSerializeMeasurement(block, separator, reader);
        else
            CXmlNesting::SkipCurrentElement(reader);
    }
    return true;
}

bool CXMLResultsSerializer::DeSerializeMeasurements(CMeasureBlockMapping* block, QXmlStreamReader& reader,
                                                    const QString& separator)
{
    // A map is saved in the mapping's frame (each block turned by its orientation when it
    // was measured): its samples must not be turned again.
    block->setRotAppliedOnMeasBlock(true);
    while (reader.readNextStartElement())
    {
        if (reader.name() == QLatin1String("comment"))
            block->setComment(reader.readElementText());
        else if (reader.name() == QLatin1String("flux"))
            DeSerializeMeasurement(block, separator, reader);
        else if (reader.name() == QLatin1String("position"))
        {
            double x = 0, y = 0, z = 0;
            if (!readTriple(reader.readElementText(), x, y, z))
                return false;
            block->Position.setX(x);
            block->Position.setY(y);
            block->Position.setZ(z);
        }
        else if (reader.name() == QLatin1String("orientation"))
        {
            double roll = 0, pitch = 0, yaw = 0;
            if (!readTriple(reader.readElementText(), roll, pitch, yaw))
                return false;
            block->Orientation.setRoll(roll);
            block->Orientation.setPitch(pitch);
            block->Orientation.setYaw(yaw);
        }
        else
            CXmlNesting::SkipCurrentElement(reader);
    }
    return true;
}

void CXMLResultsSerializer::DeSerializeMeasurement(CMeasureBlock* block, const QString& separator,
                                                   QXmlStreamReader& reader)
{
    // The element text as readElementText() gathers it, but into a buffer kept from
    // block to block: a fresh string of this size per block costs more in page
    // faults than the parsing itself.
    QString& text = m_FluxText;
    text.resize(0);
    for (bool inside = true; inside;)
    {
        switch (reader.readNext())
        {
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            text.append(reader.text());
            break;
        case QXmlStreamReader::EndElement:
            inside = false;
            break;
        case QXmlStreamReader::ProcessingInstruction:
        case QXmlStreamReader::Comment:
            break;
        default:
            if (!reader.hasError())
                reader.raiseError(QCoreApplication::translate("QXmlStream", "Expected character data."));
            inside = false;
        }
    }
    // An empty text is a block without samples, as the writer writes it.
    if (reader.hasError() || text.isEmpty())
        return;
    // A file without a column separator can only have been written with ";".
    const QString columnSeparator = separator.isEmpty() ? QString(F::ColumnSeparator) : separator;
    const int lastColumn = m_DatasetVersion == QLatin1String("1.2") ? 7 : 6;
    const CFluxParsingThread::Parse parse = [columnSeparator, lastColumn](CMeasureBlock* target,
                                                                          const QString& rows) {
        return parseFluxRows(target, rows, columnSeparator, lastColumn);
    };
    // Large texts are parsed on a second thread while the file is read on; small
    // files are not worth a thread. Once it runs, every text goes through it, so the
    // texts of one block keep their order.
    if (!m_pParsing && text.size() >= ParallelTextSize)
        m_pParsing = std::make_unique<CFluxParsingThread>();
    if (m_pParsing)
    {
        m_pParsing->Add(block, text, parse);
        ++m_BlocksGivenToParse;
    }
    else
        m_ResultsCounter += parse(block, text);
}

void CXMLResultsSerializer::ApplyParametersText(CDataset* dataSet, const QString& text)
{
    CXMLResultsSerializer().FillMeasurementParameters(dataSet, text);
}

QDateTime CXMLResultsSerializer::StringToTimestamp(const QString& text)
{
    TimestampReader reader;
    QDateTime timestamp;
    quint64 nanoseconds = 0;
    reader.read(text, timestamp, nanoseconds);
    return timestamp;
}

quint64 CXMLResultsSerializer::StringToTimestampNanosecond(const QString& text)
{
    TimestampReader reader;
    QDateTime timestamp;
    quint64 nanoseconds = 0;
    reader.read(text, timestamp, nanoseconds);
    return nanoseconds;
}
