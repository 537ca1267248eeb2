#include "overlay/pipeline_state.h"

#include "overlay/overlay_renderer.h"

namespace artwheel {
namespace {

constexpr UINT kOutputSlotCount = D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT;

// A shader and the class instances bound with it.
template <typename Shader>
struct StageShader {
  Shader* shader;
  ID3D11ClassInstance* instances[D3D11_SHADER_MAX_INTERFACES];
  UINT instanceCount;

  void Release() {
    ReleaseAndClear(shader);
    for (UINT i = 0; i < instanceCount; ++i) ReleaseAndClear(instances[i]);
    instanceCount = 0;
  }
};

// Everything the overlay's drawing binds, as the game had it.
struct SavedPipelineState {
  ID3D11RenderTargetView* renderTargets[D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT];
  ID3D11DepthStencilView* depthStencilView;
  // The pixel shader's writable views share the output slots with the
  // targets; binding our target unbinds them on some stacks.
  ID3D11UnorderedAccessView* unorderedViews[kOutputSlotCount];
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
  StageShader<ID3D11VertexShader> vertexShader;
  StageShader<ID3D11HullShader> hullShader;
  StageShader<ID3D11DomainShader> domainShader;
  StageShader<ID3D11GeometryShader> geometryShader;
  StageShader<ID3D11PixelShader> pixelShader;
  ID3D11SamplerState* sampler;
  ID3D11ShaderResourceView* shaderResource;
  ID3D11Buffer* pixelConstants;
};

// Held between SetAsideGameState and BringBackGameState; too large for the
// render thread's stack frame to zero on every frame.
SavedPipelineState saved;

template <typename Shader, typename Get>
void SaveStage(StageShader<Shader>& stage, Get get) {
  stage.instanceCount = D3D11_SHADER_MAX_INTERFACES;
  get(&stage.shader, stage.instances, &stage.instanceCount);
  if (stage.instanceCount > D3D11_SHADER_MAX_INTERFACES) stage.instanceCount = 0;
}

void SavePipelineState(ID3D11DeviceContext* context, SavedPipelineState& s) {
  // All eight targets: restoring only the first would unbind the others.
  context->OMGetRenderTargetsAndUnorderedAccessViews(kOutputSlotCount, s.renderTargets,
                                                     &s.depthStencilView, 0, kOutputSlotCount,
                                                     s.unorderedViews);
  context->OMGetBlendState(&s.blendState, s.blendFactor, &s.sampleMask);
  context->OMGetDepthStencilState(&s.depthStencilState, &s.stencilRef);
  context->RSGetState(&s.rasterizerState);
  s.viewportCount = D3D11_VIEWPORT_AND_SCISSORRECT_OBJECT_COUNT_PER_PIPELINE;
  context->RSGetViewports(&s.viewportCount, s.viewports);
  context->IAGetInputLayout(&s.inputLayout);
  context->IAGetPrimitiveTopology(&s.topology);
  context->IAGetVertexBuffers(0, 1, &s.vertexBuffer, &s.vertexStride, &s.vertexOffset);
  SaveStage(s.vertexShader, [&](auto... a) { context->VSGetShader(a...); });
  SaveStage(s.hullShader, [&](auto... a) { context->HSGetShader(a...); });
  SaveStage(s.domainShader, [&](auto... a) { context->DSGetShader(a...); });
  SaveStage(s.geometryShader, [&](auto... a) { context->GSGetShader(a...); });
  SaveStage(s.pixelShader, [&](auto... a) { context->PSGetShader(a...); });
  context->PSGetSamplers(0, 1, &s.sampler);
  context->PSGetShaderResources(0, 1, &s.shaderResource);
  context->PSGetConstantBuffers(0, 1, &s.pixelConstants);
}

// The targets, and the writable views in the slots after them with their
// counters kept.
void RestoreOutputs(ID3D11DeviceContext* context, const SavedPipelineState& s) {
  UINT targetCount = kOutputSlotCount;
  while (targetCount > 0 && s.renderTargets[targetCount - 1] == nullptr) --targetCount;
  UINT first = targetCount;
  while (first < kOutputSlotCount && s.unorderedViews[first] == nullptr) ++first;
  if (first == kOutputSlotCount) {
    context->OMSetRenderTargets(kOutputSlotCount, s.renderTargets, s.depthStencilView);
    return;
  }
  UINT end = kOutputSlotCount;
  while (s.unorderedViews[end - 1] == nullptr) --end;
  static constexpr UINT kKeepCounts[kOutputSlotCount] = {~0u, ~0u, ~0u, ~0u, ~0u, ~0u, ~0u, ~0u};
  context->OMSetRenderTargetsAndUnorderedAccessViews(targetCount, s.renderTargets,
                                                     s.depthStencilView, first, end - first,
                                                     &s.unorderedViews[first], kKeepCounts);
}

void RestorePipelineState(ID3D11DeviceContext* context, SavedPipelineState& s) {
  ID3D11ShaderResourceView* none = nullptr;
  context->PSSetShaderResources(0, 1, &none);  // our texture leaves the slot first
  context->PSSetShaderResources(0, 1, &s.shaderResource);
  context->PSSetConstantBuffers(0, 1, &s.pixelConstants);
  context->PSSetSamplers(0, 1, &s.sampler);
  StageShader<ID3D11PixelShader>& ps = s.pixelShader;
  context->PSSetShader(ps.shader, ps.instances, ps.instanceCount);
  StageShader<ID3D11GeometryShader>& gs = s.geometryShader;
  context->GSSetShader(gs.shader, gs.instances, gs.instanceCount);
  StageShader<ID3D11DomainShader>& ds = s.domainShader;
  context->DSSetShader(ds.shader, ds.instances, ds.instanceCount);
  StageShader<ID3D11HullShader>& hs = s.hullShader;
  context->HSSetShader(hs.shader, hs.instances, hs.instanceCount);
  StageShader<ID3D11VertexShader>& vs = s.vertexShader;
  context->VSSetShader(vs.shader, vs.instances, vs.instanceCount);
  context->IASetVertexBuffers(0, 1, &s.vertexBuffer, &s.vertexStride, &s.vertexOffset);
  context->IASetPrimitiveTopology(s.topology);
  context->IASetInputLayout(s.inputLayout);
  // A count of 0 unbinds ours: the game had none bound.
  context->RSSetViewports(s.viewportCount, s.viewports);
  context->RSSetState(s.rasterizerState);
  context->OMSetDepthStencilState(s.depthStencilState, s.stencilRef);
  context->OMSetBlendState(s.blendState, s.blendFactor, s.sampleMask);
  RestoreOutputs(context, s);

  ReleaseAndClear(s.shaderResource);
  ReleaseAndClear(s.pixelConstants);
  ReleaseAndClear(s.sampler);
  s.pixelShader.Release();
  s.geometryShader.Release();
  s.domainShader.Release();
  s.hullShader.Release();
  s.vertexShader.Release();
  ReleaseAndClear(s.vertexBuffer);
  ReleaseAndClear(s.inputLayout);
  ReleaseAndClear(s.rasterizerState);
  ReleaseAndClear(s.depthStencilState);
  ReleaseAndClear(s.blendState);
  ReleaseAndClear(s.depthStencilView);
  for (ID3D11RenderTargetView*& target : s.renderTargets) ReleaseAndClear(target);
  for (ID3D11UnorderedAccessView*& view : s.unorderedViews) ReleaseAndClear(view);
}

}  // namespace

void SetAsideGameState(ID3D11DeviceContext* context) { SavePipelineState(context, saved); }

void BringBackGameState(ID3D11DeviceContext* context) { RestorePipelineState(context, saved); }

}  // namespace artwheel
