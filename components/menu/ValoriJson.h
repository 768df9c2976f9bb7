// Parameter values in JSON form, shared by the parameter file and the socket
// protocol: text, numbers, booleans and Null keep their type both ways, and
// whole numbers come back as int, as the host's Integer and Long values were;
// objects and arrays travel as QVariantMap and QVariantList.
#pragma once

#include <QJsonValue>
#include <QVariant>

QJsonValue ValoreJson(const QVariant &v);
QVariant ValoreDaJson(const QJsonValue &v);
