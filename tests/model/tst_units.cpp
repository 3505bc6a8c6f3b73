#include "model/CAlarm.h"
#include "model/CAxis.h"
#include "model/CTrigger.h"
#include "model/CUnits.h"

#include <QMetaEnum>
#include <QTest>

using U = CUnits::UnitType;
using T = CTrigger::TriggerMode;

class tst_Units : public QObject
{
    Q_OBJECT

private slots:
    void unitTextsRoundTrip()
    {
        const QStringList texts = {
            "T",   "mT", QString::fromUtf8("\xC2\xB5T"), "nT", "G", "kG", "mG", "MHzp", "A/m", "kA/m", "mA/m",
            "ADC", "Hz", QString::fromUtf8("\xC2\xB0"),  "dB", "%", " "};
        for (int v = 1; v <= 17; ++v)
        {
            QCOMPARE(CUnitsToQString(U(v)), texts.at(v - 1));
            QCOMPARE(QStringToCUnits(CUnitsToQString(U(v))), U(v));
        }
        QCOMPARE(CUnitsToQString(U(0)), QString());
        QCOMPARE(CUnitsToQString(U(18)), QString());
    }

    void unitFallbacks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("greek mu") << QString::fromUtf8("\xCE\xBCT");
        QTest::newRow("lower t") << QString("t");
        QTest::newRow("MT") << QString("MT");
        QTest::newRow("leading space") << QString(" T");
        QTest::newRow("empty") << QString();
        QTest::newRow("space") << QString(" ");
    }

    void unitFallbacks()
    {
        QFETCH(QString, text);
        QCOMPARE(QStringToCUnits(text), U::UNKNOWN);
    }

    void uncertaintyAndInstrumentCodes()
    {
        QCOMPARE(ConvertUnitsToUncertaintyUnits(U::NANO_TESLA), U::NANO_TESLA);
        QCOMPARE(ConvertUnitsToUncertaintyUnits(U::TESLA), U::MILLI_TESLA);
        QCOMPARE(ConvertUnitsToUncertaintyUnits(U::UNKNOWN), U::PERCENT);
        QCOMPARE(ConvertUnitsToUncertaintyUnits(U::KILO_AMPERE_PER_METER), U::MILLI_AMPERE_PER_METER);
        QCOMPARE(ConvertUnitsToUncertaintyUnits(U::HZ), U::HZ);
        QCOMPARE(ConvertUnitsToUncertaintyUnits(U(40)), U(40));
        QCOMPARE(ConvertUnitsToZRQ5520(U::TESLA), KVL::eTesla);
        QCOMPARE(ConvertUnitsToZRQ5520(U::HZ), KVL::eTesla);
        for (int v = 2; v <= 12; ++v)
        {
            QCOMPARE(int(ConvertUnitsToZRQ5520(U(v))), v - 1);
            QCOMPARE(ConvertUnitsFromZRQ5520(ConvertUnitsToZRQ5520(U(v))), U(v));
        }
        QCOMPARE(ConvertUnitsFromZRQ5520(KVL::eZRQ5520Units(11)), U::ADC);
        QCOMPARE(ConvertUnitsFromZRQ5520(KVL::eZRQ5520Units(12)), U::TESLA);
        QCOMPARE(ConvertUnitsFromZRQ5520(KVL::eZRQ5520Units(0)), U::TESLA);
    }

    void triggerTexts()
    {
        const QStringList texts = {"Continuous", "Immediate", "Timer", "External"};
        for (int v = 1; v <= 4; ++v)
        {
            QCOMPARE(CTriggerToQString(T(v)), texts.at(v - 1));
            QCOMPARE(QStringToCTrigger(texts.at(v - 1)), T(v));
        }
        QCOMPARE(QStringToCTrigger("timer"), T::CONTINUOUS);
        QCOMPARE(CTriggerToQString(T(0)), QString());
    }

    void enumerationsAreKnownToTheMetaObjectSystem()
    {
        const QMetaEnum units = QMetaEnum::fromType<CUnits::UnitType>();
        QCOMPARE(units.keyCount(), 17);
        QCOMPARE(units.valueToKey(3), "MICRO_TESLA");
        QCOMPARE(QMetaEnum::fromType<CTrigger::TriggerMode>().keyToValue("EXTERNAL"), 4);
        QCOMPARE(QMetaEnum::fromType<CAxis::AxisType>().valueToKey(2), "BBprime");
        QCOMPARE(QMetaEnum::fromType<CAlarm::AlarmState>().valueToKey(4), "FlagNotification");
    }
};

QTEST_GUILESS_MAIN(tst_Units)
#include "tst_units.moc"
