// Runs a fuzz target over its corpus without libFuzzer, so that the normal
// build replays every saved input as a test.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTextStream>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, unsigned long size);

int main(int argc, char** argv)
{
    int replayed = 0;
    for (int i = 1; i < argc; ++i)
    {
        QDirIterator it(QString::fromLocal8Bit(argv[i]), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
        {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                   static_cast<unsigned long>(bytes.size()));
            ++replayed;
        }
    }
    QTextStream(stdout) << replayed << " inputs replayed\n";
    return replayed > 0 ? 0 : 1;
}
