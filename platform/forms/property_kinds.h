#pragma once
// How each published property streams. The kind follows from the property's
// meta type alone, so reader and writer need no per-class code:
//
//   bool                        Boolean      True / False
//   any built-in integer type   Integer      decimal or $hex, range-checked
//   double, float               Float        shortest text that reads back exactly
//   QString                     String       quoted, #nnn for control characters
//   QStringList                 StringList   ( 'a' 'b' )
//   QByteArray                  Binary       { hex }
//   TColor                      Color        clBtnFace or $00BBGGRR
//   Q_ENUM type                 Enumeration  alClient or the ordinal
//   Q_FLAG type                 Set          [fsBold, fsItalic]
//   registered TEvent type      Event        name of a method of the root component
//   writable TComponent*        Reference    name of a component of the root, or nil
//   other TPersistent*          Object       the properties of the object it returns

#include <QMetaEnum>
#include <QMetaProperty>
#include <QString>
#include <QVariant>

#include "platform/core/events.h"
#include "platform/forms/form_parser.h"

enum class TPropertyKind {
  Unsupported,
  Boolean,
  Integer,
  Float,
  String,
  StringList,
  Binary,
  Color,
  Enumeration,
  Set,
  Event,
  Reference,
  Object,
};

struct TPropertyInfo {
  QMetaProperty property;
  TPropertyKind kind = TPropertyKind::Unsupported;
  QMetaEnum enumerator;                   // Enumeration and Set
  const TEventTypeInfo* event = nullptr;  // Event
  const QMetaObject* pointee = nullptr;   // Reference and Object: the class pointed to

  // Reference and Object values are not converted by ValueToVariant.
  bool IsValueKind() const {
    return kind != TPropertyKind::Unsupported && kind != TPropertyKind::Event &&
           kind != TPropertyKind::Reference && kind != TPropertyKind::Object;
  }
};

TPropertyInfo DescribeProperty(const QMetaProperty& property);

// Index of the first published property: the ones QObject itself declares
// (objectName) are not part of form descriptions.
int FirstPublishedProperty();
// The published property `name` of `meta` or its ancestors, matched without
// regard to case (an exact match wins). False if there is none.
bool FindPublishedProperty(const QMetaObject* meta, QStringView name, QMetaProperty& property);

// Converts a parsed value for a property of a value kind. Raises EConvertError
// with a message such as "'abc' is not a valid integer value".
QVariant ValueToVariant(const TPropertyInfo& info, const TFormValue& value);
// The stored text of a value-kind property value. String lists and binary
// data span several lines; `indent` is the indentation of the property's line.
// Raises EConvertError for a value that has no text (an infinite float).
QString FormatVariant(const TPropertyInfo& info, const QVariant& value, int indent);
// A string as a quoted literal: printable characters inside quotes (a quote
// doubled), everything else as #code.
QString QuoteString(const QString& text);

// The object held by a pointer-valued property value (null if none).
QObject* ObjectFromVariant(const QVariant& value);
// A value of the pointer type `type` holding `object`.
QVariant VariantFromObject(QMetaType type, QObject* object);
