#pragma once
// Resources compiled into the program with the Qt resource system (":/").
// Names are matched without regard to case, with or without the file
// extension: "kvspinup" finds ":/KVSPINUP.bmp".

#include <QByteArray>
#include <QString>

// The resource path (":/...") for `name`, or an empty string if none.
QString FindResource(const QString& name);
// The bytes of resource `name`; raises EResNotFound "Resource <name> not found".
QByteArray LoadResource(const QString& name);
