#pragma once
// The part of the game's pipeline state that the overlay's drawing touches,
// saved before and put back after, in reverse.
#include <d3d11.h>

namespace artwheel {

struct SavedPipelineState {
  ID3D11RenderTargetView* renderTargets[D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT];
  ID3D11DepthStencilView* depthStencilView;
  ID3D11BlendState* blendState;
  FLOAT blendFactor[4];
  UINT sampleMask;
  ID3D11DepthStencilState* depthStencilState;
  UINT stencilRef;
  ID3D11RasterizerState* rasterizerState;
  UINT viewportCount;
  D3D11_VIEWPORT viewports[D3D11_VIEWPORT_AND_SCISSORRECT_OBJECT_COUNT_PER_PIPELINE];
  ID3D11InputLayout* inputLayout;
  D3D11_PRIMITIVE_TOPOLOGY topology;
  ID3D11Buffer* vertexBuffer;
  UINT vertexStride;
  UINT vertexOffset;
  ID3D11VertexShader* vertexShader;
  ID3D11HullShader* hullShader;
  ID3D11DomainShader* domainShader;
  ID3D11GeometryShader* geometryShader;
  ID3D11PixelShader* pixelShader;
  ID3D11SamplerState* sampler;
  ID3D11ShaderResourceView* shaderResource;
};

void SavePipelineState(ID3D11DeviceContext* context, SavedPipelineState& state);
// Puts everything back and releases the saved references.
void RestorePipelineState(ID3D11DeviceContext* context, SavedPipelineState& state);

}  // namespace artwheel
