#pragma once

#include <QString>

class CSurveyReport;

// A survey report as an A4 PDF through Qt's own PDF writer: text is text (selectable,
// searchable), charts are vectors drawn from the data. Written through a temporary
// file: a failure leaves no half-written PDF and the previous file as it was.
class CReportPdfWriter
{
public:
    static bool Write(const CSurveyReport& report, const QString& path, QString* error);
};
