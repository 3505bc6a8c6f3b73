// The mapping page's 3-D view with 10,000 arrows: how long a frame takes when the
// user turns the camera. Needs OpenGL: run it under Xvfb (Mesa's software renderer).
#include "app/CApplication.h"
#include "app/CSettings.h"
#include "instruments/CInstrumentSupervisor.h"
#include "instruments/CPluginsManager.h"
#include "model/CMeasureBlockMapping.h"
#include "model/CMetaTypes.h"
#include "operations/COperationMapping.h"
#include "viewmodels/CArrowListModel.h"
#include "viewmodels/CMappingOperationViewModel.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cmath>

namespace
{
// Waits for the window to show its next frame; false when none came within a second.
bool WaitForFrame(QQuickWindow* window)
{
    QEventLoop loop;
    bool swapped = false;
    const auto connection = QObject::connect(window, &QQuickWindow::frameSwapped, &loop, [&] {
        swapped = true;
        loop.quit();
    });
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    window->update();
    loop.exec();
    QObject::disconnect(connection);
    return swapped;
}

void BM_TurnVectors3D(benchmark::State& state)
{
    const int points = int(state.range(0));
    QTemporaryDir dir;
    CSettings settings("/p", nullptr, dir.path());
    settings.setMappingMaxMeasurementCount(quint64(points) * 10);
    CPluginsManager plugins(settings);
    CInstrumentSupervisor supervisor(settings);
    COperationMapping operation(settings, plugins, supervisor);
    operation.MeasurementParameters()->setBlockSize(10);
    CMappingOperationViewModel page(settings, &operation);
    page.resume();
    CDataSetMapping& data = *operation.RecordingManager()->DataSet();
    data.setMeasurementParameters(operation.MeasurementParameters());
    // A dipole-like field over a square grid.
    const int side = int(std::ceil(std::sqrt(double(points))));
    const QDateTime start = QDateTime::currentDateTimeUtc();
    for (int p = 0; p < points; ++p)
    {
        auto block = QSharedPointer<CMeasureBlockMapping>::create();
        const double x = p % side, y = p / side;
        block->Position.setX(x);
        block->Position.setY(y);
        for (int i = 0; i < 10; ++i)
        {
            auto s = QSharedPointer<CFieldIntensityResult>::create();
            s->Timestamp = start.addMSecs(qint64(p) * 100 + i);
            s->setBx(float(x - side / 2.0));
            s->setBy(float(y - side / 2.0));
            s->setBz(float(side / 4.0));
            s->setB(float(std::hypot(x - side / 2.0, y - side / 2.0, side / 4.0)));
            block->Results.append(s);
        }
        data.AddMeasureBlock(block);
    }
    emit page.DatasetLoaded();

    QQmlApplicationEngine engine;
    engine.rootContext()->setContextProperty(QStringLiteral("Settings"), &settings);
    engine.rootContext()->setContextProperty(QStringLiteral("mapping"), &page);
    engine.loadData(
        "import QtQuick 2.15\n"
        "import QtQuick.Window 2.15\n"
        "import \"qrc:/Resources/Components\"\n"
        "Window { width: 800; height: 600; visible: true\n"
        "  MappingVectors3D { objectName: \"view\"; anchors.fill: parent; viewModel: mapping } }\n");
    auto* window =
        engine.rootObjects().isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(engine.rootObjects().front());
    if (!window)
    {
        state.SkipWithError("the 3-D view did not load");
        return;
    }
    QObject* camera =
        window->findChild<QObject*>(QStringLiteral("view"))->property("scene").value<QObject*>();
    camera = camera ? camera->property("activeCamera").value<QObject*>() : nullptr;
    // The first frames build the arrows' buffers.
    QElapsedTimer first;
    first.start();
    for (int i = 0; i < 3; ++i)
        WaitForFrame(window);
    state.counters["first frames ms"] = double(first.elapsed()) / 3;

    double rotation = 0;
    for (auto _ : state)
    {
        QElapsedTimer timer;
        timer.start();
        rotation = std::fmod(rotation + 3, 60.0); // a user dragging to and fro
        camera->setProperty("xRotation", rotation);
        if (!WaitForFrame(window))
        {
            state.SkipWithError("no frame within a second");
            break;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) * 1e-9);
    }
    state.counters["arrows"] = page.Arrows()->rowCount();
    // To look at what was measured: TESVANA_BENCH_SHOTS=<folder>.
    const QString shots = qEnvironmentVariable("TESVANA_BENCH_SHOTS");
    if (!shots.isEmpty())
        window->grabWindow().save(shots + QStringLiteral("/vectors3d_%1.png").arg(points));
}
BENCHMARK(BM_TurnVectors3D)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);
} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    CMetaTypes::Register();
    CApplication::RegisterQmlTypes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
