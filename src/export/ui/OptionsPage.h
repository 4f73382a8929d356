#pragma once

#include "codecs/EncoderParameter.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <initializer_list>

class QComboBox;

// One encoder's page in the Export dialog, without a caption of its own: the
// dialog shows the page of the chosen format and hides the others, which keep
// what the user set on them for when the format is chosen again.
class COptionsPage : public QWidget
{
    Q_OBJECT

public:
    explicit COptionsPage(QWidget* parent = nullptr);

    // On success fills params with the page's two values and returns true;
    // otherwise returns false with the sentence to show in message, and the
    // dialog stays open for the user to correct the field.
    virtual bool BuildEncoderParameters(CEncoderParameters& params, QString& message) = 0;

protected:
    // What the encoder for mimeType reports; empty when none is installed.
    static std::vector<CEncoderParameterInfo> EncoderParameters(const QString& mimeType);
    // The parameter guid when it is reported with that value type, else null.
    static const CEncoderParameterInfo* FindParameter(const std::vector<CEncoderParameterInfo>& params,
                                                      const QUuid& guid, int valueType);
    // One entry per offered value, in the encoder's order, the last one
    // chosen: encoders put their default there.
    static void FillList(QComboBox* list, const CEncoderParameterInfo* info,
                         const std::function<QString(std::int32_t)>& caption);
    // The chosen entry's value; -1, which leaves the encoder's default in
    // force, when the list is empty.
    static std::int32_t ChosenValue(const QComboBox* list);
    // Chooses the entry for value; a value the list does not offer (or -1)
    // leaves the choice as it is.
    static void ChooseValue(QComboBox* list, std::int32_t value);

    struct SValueName {
        std::int32_t value;
        const char* name;
    };
    // "13 — rotate 90°" when names knows the value; the bare number otherwise,
    // so a value a newer encoder offers still reads as what it is.
    static QString NamedValue(std::int32_t value, std::initializer_list<SValueName> names);
};
