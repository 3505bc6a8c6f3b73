#pragma once

#include <QLatin1String>

// Texts shared by the XML results file and the CSV export.
namespace ResultsFileFormat
{
constexpr QLatin1String RootElement("KorvelinXmlRecord");
constexpr QLatin1String BodyType("tKXR_BODY_TESVANA");
constexpr QLatin1String MeasurementDatasetType("tKXR_DATASET_TESVANA_MEASUREMENT");
constexpr QLatin1String MappingDatasetType("tKXR_DATASET_TESVANA_MAPPING");
constexpr QLatin1String MeasurementDescription("Magnetic Field Measurement File, Korvelin Technology SA");
constexpr QLatin1String MappingDescription("Magnetic Field Mapping File, Korvelin Technology SA");
constexpr QLatin1String ColumnSeparator(";");
constexpr QLatin1String Headings("Timestamp;B;B.B';Bx;By;Bz;Temp;dB");
constexpr QLatin1String DateTimeFormat("yyyy.MM.dd'T'HH:mm:ss");
} // namespace ResultsFileFormat
