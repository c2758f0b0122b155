#include "blkidprobe.h"

#ifdef QUILLBANK_HAVE_BLKID
#include <blkid.h>

#include <memory>

namespace {

struct ProbeFree {
    void operator()(blkid_probe probe) const { blkid_free_probe(probe); }
};

QString tagValue(blkid_probe probe, const char *name)
{
    const char *value = nullptr;
    if (blkid_probe_lookup_value(probe, name, &value, nullptr) != 0 || !value)
        return QString();
    return QString::fromUtf8(value);
}

} // namespace

// The low-level probe reads the device directly and writes no cache file.
FileSystemIds probeFileSystemIds(const QByteArray &devicePath)
{
    const std::unique_ptr<blkid_struct_probe, ProbeFree> probe(
        blkid_new_probe_from_filename(devicePath.constData()));
    if (!probe)
        return {};
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_UUID | BLKID_SUBLKS_LABEL);
    if (blkid_do_safeprobe(probe.get()) != 0)
        return {};
    return {tagValue(probe.get(), "UUID"), tagValue(probe.get(), "LABEL")};
}

#else

FileSystemIds probeFileSystemIds(const QByteArray &)
{
    return {};
}

#endif
