#pragma once

#include <QByteArray>
#include <QLatin1String>

// Texts shared by the XML results file and the CSV export.
namespace ResultsFileFormat
{
inline const QLatin1String RootElement("KorvelinXmlRecord");
inline const QLatin1String BodyType("tKXR_BODY_TESVANA");
inline const QLatin1String MeasurementDatasetType("tKXR_DATASET_TESVANA_MEASUREMENT");
inline const QLatin1String MappingDatasetType("tKXR_DATASET_TESVANA_MAPPING");
inline const QLatin1String MeasurementDescription("Magnetic Field Measurement File, Korvelin Technology SA");
inline const QLatin1String MappingDescription("Magnetic Field Mapping File, Korvelin Technology SA");
inline const QLatin1String ColumnSeparator(";");
// The separator as the bytes the row writers take.
inline QByteArray ColumnSeparatorBytes()
{
    return QByteArray(ColumnSeparator.data(), ColumnSeparator.size());
}
inline const QLatin1String Headings("Timestamp;B;B.B';Bx;By;Bz;Temp;dB");
inline const QLatin1String DateTimeFormat("yyyy.MM.dd'T'HH:mm:ss");
} // namespace ResultsFileFormat
