#pragma once

#include <memory>

// Releases the textures it made; implemented by the render context's back end.
class VyTextureOwner
{
public:
    virtual ~VyTextureOwner() = default;
    // Called once, when the last handle of the texture goes.
    virtual void ReleaseTexture(int textureId) = 0;
};

// A shared handle of one texture of the render context: the back end's id (-1 for none) and the size in
// pixels. Copies share the texture; the owner releases it when the last copy goes, so the owner must
// outlive every handle it gave out (or be told to forget them through Orphan).
class VyTexture
{
public:
    VyTexture() = default; // no texture
    VyTexture(int textureId, int width, int height, VyTextureOwner* pOwner);

    bool IsValid() const { return m_pData != nullptr && m_pData->id >= 0; }
    int GetId() const { return m_pData ? m_pData->id : -1; }
    int GetWidth() const { return m_pData ? m_pData->width : 0; }
    int GetHeight() const { return m_pData ? m_pData->height : 0; }
    // Number of handles sharing the texture (0 for none).
    long GetUseCount() const { return m_pData.use_count(); }
    // Makes the texture's last handle release nothing (the owner is going away and frees it itself).
    void Orphan();

    bool operator==(const VyTexture& other) const { return m_pData == other.m_pData; }

private:
    struct Data
    {
        int id = -1;
        int width = 0;
        int height = 0;
        VyTextureOwner* pOwner = nullptr;
        ~Data();
    };
    std::shared_ptr<Data> m_pData;
};
