// The pipeline state the game binds before every Present, and the check after
// it that nothing of it changed.
#include <d3d11.h>

#include <cstring>

#include "game_renderer_record.h"

namespace sim::render {
namespace {

constexpr FLOAT kBlendFactor[4] = {0.25f, 0.5f, 0.75f, 1.0f};
constexpr UINT kSampleMask = 0x00FF00FF;
constexpr UINT kStencilRef = 3;
constexpr UINT kStride = 8;
constexpr UINT kOffset = 4;
constexpr UINT kUnorderedSlot = 2;  // the first after the two targets

void Viewports(const Renderer& r, D3D11_VIEWPORT (&viewports)[2]) {
  viewports[0] = {0, 0, static_cast<float>(r.width), static_cast<float>(r.height), 0, 1};
  viewports[1] = {1, 2, 3, 4, 0.25f, 0.75f};
}

}  // namespace

void BindKnownState(Renderer& r) {
  KnownState& s = r.state;
  ID3D11DeviceContext* c = r.context;
  c->OMSetRenderTargetsAndUnorderedAccessViews(2, s.targets, s.depthView, kUnorderedSlot, 1,
                                               &s.unorderedView, nullptr);
  c->OMSetBlendState(s.blend, kBlendFactor, kSampleMask);
  c->OMSetDepthStencilState(s.depthState, kStencilRef);
  c->RSSetState(s.rasterizer);
  s.viewportsBound = !s.viewportsBound;
  D3D11_VIEWPORT viewports[2];
  Viewports(r, viewports);
  c->RSSetViewports(s.viewportsBound ? 2 : 0, viewports);
  c->IASetInputLayout(s.layout);
  c->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_LINESTRIP);
  c->IASetVertexBuffers(0, 1, &s.vertexBuffer, &kStride, &kOffset);
  c->VSSetShader(s.vertexShader, nullptr, 0);
  c->PSSetShader(s.pixelShader, nullptr, 0);
  c->PSSetSamplers(0, 1, &s.sampler);
  c->PSSetShaderResources(0, 1, &s.resource);
}

const char* FindStateMismatch(Renderer& r) {
  KnownState& s = r.state;
  ID3D11DeviceContext* c = r.context;
  const char* mismatch = nullptr;
  auto expect = [&](bool same, const char* what) {
    if (!same && mismatch == nullptr) mismatch = what;
  };
  ID3D11RenderTargetView* targets[8] = {};
  ID3D11DepthStencilView* depthView = nullptr;
  c->OMGetRenderTargets(8, targets, &depthView);
  expect(targets[0] == s.targets[0] && targets[1] == s.targets[1] && targets[2] == nullptr,
         "render targets");
  expect(depthView == s.depthView, "depth-stencil view");
  for (auto*& target : targets) Release(target);
  Release(depthView);
  ID3D11UnorderedAccessView* unorderedViews[8] = {};
  c->OMGetRenderTargetsAndUnorderedAccessViews(0, nullptr, nullptr, 0, 8, unorderedViews);
  bool unorderedSame = true;
  for (UINT slot = 0; slot < 8; ++slot) {
    unorderedSame &= unorderedViews[slot] == (slot == kUnorderedSlot ? s.unorderedView : nullptr);
    Release(unorderedViews[slot]);
  }
  expect(unorderedSame, "unordered-access views");
  ID3D11BlendState* blend = nullptr;
  FLOAT factor[4] = {};
  UINT mask = 0;
  c->OMGetBlendState(&blend, factor, &mask);
  expect(blend == s.blend && std::memcmp(factor, kBlendFactor, sizeof factor) == 0 &&
             mask == kSampleMask,
         "blend state");
  Release(blend);
  ID3D11DepthStencilState* depthState = nullptr;
  UINT stencilRef = 0;
  c->OMGetDepthStencilState(&depthState, &stencilRef);
  expect(depthState == s.depthState && stencilRef == kStencilRef, "depth-stencil state");
  Release(depthState);
  ID3D11RasterizerState* rasterizer = nullptr;
  c->RSGetState(&rasterizer);
  expect(rasterizer == s.rasterizer, "rasterizer state");
  Release(rasterizer);
  D3D11_VIEWPORT viewports[D3D11_VIEWPORT_AND_SCISSORRECT_OBJECT_COUNT_PER_PIPELINE] = {};
  UINT viewportCount = D3D11_VIEWPORT_AND_SCISSORRECT_OBJECT_COUNT_PER_PIPELINE;
  c->RSGetViewports(&viewportCount, viewports);
  D3D11_VIEWPORT expected[2];
  Viewports(r, expected);
  if (s.viewportsBound) {
    expect(viewportCount == 2 && std::memcmp(viewports, expected, sizeof expected) == 0,
           "viewports");
  } else {
    expect(viewportCount == 0, "viewports (the game had none bound)");
  }
  ID3D11InputLayout* layout = nullptr;
  c->IAGetInputLayout(&layout);
  expect(layout == s.layout, "input layout");
  Release(layout);
  D3D11_PRIMITIVE_TOPOLOGY topology = {};
  c->IAGetPrimitiveTopology(&topology);
  expect(topology == D3D11_PRIMITIVE_TOPOLOGY_LINESTRIP, "topology");
  ID3D11Buffer* vertexBuffer = nullptr;
  UINT stride = 0;
  UINT offset = 0;
  c->IAGetVertexBuffers(0, 1, &vertexBuffer, &stride, &offset);
  expect(vertexBuffer == s.vertexBuffer && stride == kStride && offset == kOffset, "vertex buffer");
  Release(vertexBuffer);
  ID3D11VertexShader* vertexShader = nullptr;
  c->VSGetShader(&vertexShader, nullptr, nullptr);
  expect(vertexShader == s.vertexShader, "vertex shader");
  Release(vertexShader);
  ID3D11PixelShader* pixelShader = nullptr;
  c->PSGetShader(&pixelShader, nullptr, nullptr);
  expect(pixelShader == s.pixelShader, "pixel shader");
  Release(pixelShader);
  ID3D11SamplerState* sampler = nullptr;
  c->PSGetSamplers(0, 1, &sampler);
  expect(sampler == s.sampler, "sampler");
  Release(sampler);
  ID3D11ShaderResourceView* resource = nullptr;
  c->PSGetShaderResources(0, 1, &resource);
  expect(resource == s.resource, "shader resource");
  Release(resource);
  return mismatch;
}

}  // namespace sim::render
