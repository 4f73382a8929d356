#include "OptionsPage.h"

#include "codecs/EncoderRegistry.h"

#include <QComboBox>

COptionsPage::COptionsPage(QWidget* parent) : QWidget(parent)
{
    // Only the page of the chosen format is ever shown.
    hide();
}

std::vector<CEncoderParameterInfo> COptionsPage::EncoderParameters(const QString& mimeType)
{
    QUuid clsid;
    if (GetEncoderClsid(mimeType, &clsid) < 0)
        return {};
    const CImageEncoder* encoder = FindEncoder(clsid);
    return encoder ? encoder->Parameters() : std::vector<CEncoderParameterInfo>{};
}

const CEncoderParameterInfo* COptionsPage::FindParameter(const std::vector<CEncoderParameterInfo>& params,
                                                         const QUuid& guid, int valueType)
{
    for (const CEncoderParameterInfo& info : params)
        if (info.guid == guid && info.valueType == valueType)
            return &info;
    return nullptr;
}

void COptionsPage::FillList(QComboBox* list, const CEncoderParameterInfo* info,
                            const std::function<QString(std::int32_t)>& caption)
{
    list->clear();
    if (!info)
        return;
    for (std::int32_t value : info->values)
        list->addItem(caption(value), value);
    list->setCurrentIndex(list->count() - 1);
}

std::int32_t COptionsPage::ChosenValue(const QComboBox* list)
{
    return list->currentIndex() < 0 ? -1 : list->currentData().toInt();
}

void COptionsPage::ChooseValue(QComboBox* list, std::int32_t value)
{
    if (const int index = list->findData(value); index >= 0)
        list->setCurrentIndex(index);
}

QString COptionsPage::NamedValue(std::int32_t value, std::initializer_list<SValueName> names)
{
    for (const SValueName& entry : names)
        if (entry.value == value)
            return tr("%1 — %2").arg(value).arg(tr(entry.name));
    return QString::number(value);
}
