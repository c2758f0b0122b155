// Runs a fuzz target's checks over saved inputs without libFuzzer, so every
// build's test suite replays the seed corpus and each input that once crashed
// (fuzz/regressions/NAME/). Arguments: folders of inputs, or single files.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int *argc, char ***argv);

namespace {

QStringList inputsIn(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {}; // a target without regressions has no folder for them
    if (!info.isDir())
        return {info.absoluteFilePath()};
    QStringList files;
    const QDir dir(path);
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        files.append(dir.absoluteFilePath(name));
    return files;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList inputs;
    for (int i = 1; i < argc; ++i)
        inputs += inputsIn(QFile::decodeName(argv[i]));
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    for (const QString &path : std::as_const(inputs)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()),
                               size_t(bytes.size()));
    }
    std::printf("%lld inputs replayed\n", static_cast<long long>(inputs.size()));
    return inputs.isEmpty() ? 1 : 0;
}
