#include "AttributeSetting.h"

namespace {
AttributeSetting &storage()
{
    static AttributeSetting s_record;
    return s_record;
}
} // namespace

AttributeSetting *QSettingDlgState::m_attributeSetting = nullptr;

void QSettingDlgState::setAttributeSetting(const AttributeSetting &setting)
{
    storage() = setting;
    m_attributeSetting = &storage();
}

const AttributeSetting &QSettingDlgState::attributeSetting()
{
    static const AttributeSetting s_default;
    return m_attributeSetting ? *m_attributeSetting : s_default;
}

void QSettingDlgState::clearAttributeSetting()
{
    storage() = AttributeSetting();
    m_attributeSetting = nullptr;
}
