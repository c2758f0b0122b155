#include "historyencoder.h"

#include "historykeys.h"
#include "jsonwriter.h"

namespace {

// Close to the size of one container's object in a real history, so the
// buffer rarely grows.
constexpr qsizetype bytesPerContainer = 300;
constexpr qsizetype bytesPerReading = 100;

void writeContainer(JsonWriter &json, const ContainerInfo &c)
{
    json.beginObject();
    json.key(historykeys::id);
    json.value(c.id);
    json.key(historykeys::conUUID);
    json.value(c.conUUID);
    json.key(historykeys::conRef);
    json.value(c.conRef);
    json.key(historykeys::capacity);
    json.value(c.capacity);
    json.key(historykeys::free);
    json.value(c.free);
    json.key(historykeys::volNames);
    json.value(c.volNames);
    json.key(historykeys::firstVolName);
    json.value(c.firstVolName);
    json.key(historykeys::totalUsed);
    json.value(c.totalUsed);
    json.endObject();
}

bool writeReading(JsonWriter &json, const DataPoint &point)
{
    json.beginObject();
    json.key(historykeys::id);
    json.value(point.id);
    json.key(historykeys::date);
    if (!json.value(point.date))
        return false;
    json.key(historykeys::containers);
    json.beginArray();
    for (const ContainerInfo &container : point.containers)
        writeContainer(json, container);
    json.endArray();
    json.endObject();
    return true;
}

qsizetype expectedSize(const QList<DataPoint> &history)
{
    const qsizetype containers = history.isEmpty() ? 0 : history.first().containers.size();
    return history.size() * (bytesPerReading + containers * bytesPerContainer);
}

} // namespace

std::optional<QByteArray> encodeHistory(const QList<DataPoint> &history, QString *error)
{
    JsonWriter json(expectedSize(history));
    json.beginArray();
    for (qsizetype i = 0; i < history.size(); ++i) {
        if (writeReading(json, history.at(i)))
            continue;
        if (error)
            *error = QStringLiteral("reading %1 has a date that is not a finite number").arg(i + 1);
        return std::nullopt;
    }
    json.endArray();
    return json.take();
}
