#pragma once

#include "datapoint.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// Bytes the decoder may read past the end of its input. A buffer with this
// much spare capacity is decoded in place; any other is copied first.
inline constexpr qsizetype jsonPadding = 64;

// Why a document that begins with these bytes is no history, when its first
// byte other than JSON white space shows it already (it is not '['); empty
// when it may be one. Lets a reader refuse a large file at once.
QString whyNoHistoryStart(QByteArrayView start);

// Decodes a history file's document, all or nothing: a top-level array of
// readings, every member of every record present with exactly its type
// (integers as JSON integers within int64, a date as any finite number, ids
// as 8-4-4-4-12 UUID texts in either case), unknown members ignored in any
// order but still well-formed, no key twice in any object, valid UTF-8,
// nothing but white space after the array and nesting bounded. On failure
// *error (when given) says why, in one line. Throws std::bad_alloc when
// memory runs out.
std::optional<QList<DataPoint>> decodeHistory(const QByteArray &json, QString *error = nullptr);

// The same, in place: json's memory must stay readable for jsonPadding bytes
// past its end.
std::optional<QList<DataPoint>> decodePaddedHistory(QByteArrayView json, QString *error = nullptr);
