// Conversions between parameter values and JSON values.
#include "components/menu/ValoriJson.h"

#include <QDate>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <cmath>
#include <limits>

QJsonValue ValoreJson(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return QJsonValue(QJsonValue::Null);
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return QJsonValue(v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return v.toDouble();
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return v.toDateTime().toString(Qt::ISODate);
    case QMetaType::QVariantMap:
        return QJsonObject::fromVariantMap(v.toMap());
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return QJsonArray::fromVariantList(v.toList());
    default:
        return v.toString();
    }
}

QVariant ValoreDaJson(const QJsonValue &v)
{
    switch (v.type()) {
    case QJsonValue::Bool:
        return v.toBool();
    case QJsonValue::Double: {
        const double d = v.toDouble();
        if (std::trunc(d) == d && d >= std::numeric_limits<int>::min() &&
            d <= std::numeric_limits<int>::max())
            return int(d);
        return d;
    }
    case QJsonValue::String:
        return v.toString();
    case QJsonValue::Object: {
        // Structured parameters (a command's launch data) keep their shape.
        QVariantMap m;
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            m.insert(it.key(), ValoreDaJson(it.value()));
        return m;
    }
    case QJsonValue::Array: {
        QVariantList l;
        for (const QJsonValue &e : v.toArray())
            l.append(ValoreDaJson(e));
        return l;
    }
    default:
        return QVariant();
    }
}
