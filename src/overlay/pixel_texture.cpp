// Textures the overlay fills from its own pixels: the decoded PNGs and the
// pictures GDI draws (menu and message).
#include "overlay/overlay_renderer.h"

namespace artwheel {

HRESULT MakePixelTexture(OverlayRenderer& r, const void* pixels, UINT width, UINT height,
                         DXGI_FORMAT format, ID3D11ShaderResourceView** view) {
  D3D11_TEXTURE2D_DESC description = {};
  description.Width = width;
  description.Height = height;
  description.MipLevels = 1;
  description.ArraySize = 1;
  description.Format = format;
  description.SampleDesc.Count = 1;
  description.Usage = D3D11_USAGE_DEFAULT;  // DEFAULT, so that a picture can be drawn over
  description.BindFlags = D3D11_BIND_SHADER_RESOURCE;
  const D3D11_SUBRESOURCE_DATA data = {pixels, 4 * width, 0};
  ID3D11Texture2D* texture = nullptr;
  HRESULT result = r.device->CreateTexture2D(&description, &data, &texture);
  if (SUCCEEDED(result) && texture != nullptr) {
    result = r.device->CreateShaderResourceView(texture, nullptr, view);
  }
  ReleaseAndClear(texture);
  return result;
}

void ReplaceTexturePixels(OverlayRenderer& r, ID3D11ShaderResourceView* view, const void* pixels,
                          UINT width) {
  ID3D11Resource* texture = nullptr;
  view->GetResource(&texture);
  if (texture == nullptr) return;
  r.context->UpdateSubresource(texture, 0, nullptr, pixels, 4 * width, 0);
  texture->Release();
}

}  // namespace artwheel
