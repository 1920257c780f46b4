#include "vyutil/VyTexture.h"

VyTexture::Data::~Data()
{
    if (pOwner != nullptr && id >= 0)
        pOwner->ReleaseTexture(id);
}

VyTexture::VyTexture(int textureId, int width, int height, VyTextureOwner* pOwner)
    : m_pData(std::make_shared<Data>())
{
    m_pData->id = textureId;
    m_pData->width = width;
    m_pData->height = height;
    m_pData->pOwner = pOwner;
}

void VyTexture::Orphan()
{
    if (m_pData)
        m_pData->pOwner = nullptr;
}
