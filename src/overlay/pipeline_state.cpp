#include "overlay/pipeline_state.h"

#include "overlay/overlay_renderer.h"

namespace artwheel {

void SavePipelineState(ID3D11DeviceContext* context, SavedPipelineState& s) {
  s = {};
  // All eight targets: restoring only the first would unbind the others.
  context->OMGetRenderTargets(D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT, s.renderTargets,
                              &s.depthStencilView);
  context->OMGetBlendState(&s.blendState, s.blendFactor, &s.sampleMask);
  context->OMGetDepthStencilState(&s.depthStencilState, &s.stencilRef);
  context->RSGetState(&s.rasterizerState);
  s.viewportCount = D3D11_VIEWPORT_AND_SCISSORRECT_OBJECT_COUNT_PER_PIPELINE;
  context->RSGetViewports(&s.viewportCount, s.viewports);
  context->IAGetInputLayout(&s.inputLayout);
  context->IAGetPrimitiveTopology(&s.topology);
  context->IAGetVertexBuffers(0, 1, &s.vertexBuffer, &s.vertexStride, &s.vertexOffset);
  context->VSGetShader(&s.vertexShader, nullptr, nullptr);
  context->HSGetShader(&s.hullShader, nullptr, nullptr);
  context->DSGetShader(&s.domainShader, nullptr, nullptr);
  context->GSGetShader(&s.geometryShader, nullptr, nullptr);
  context->PSGetShader(&s.pixelShader, nullptr, nullptr);
  context->PSGetSamplers(0, 1, &s.sampler);
  context->PSGetShaderResources(0, 1, &s.shaderResource);
}

void RestorePipelineState(ID3D11DeviceContext* context, SavedPipelineState& s) {
  ID3D11ShaderResourceView* none = nullptr;
  context->PSSetShaderResources(0, 1, &none);  // our texture leaves the slot first
  context->PSSetShaderResources(0, 1, &s.shaderResource);
  context->PSSetSamplers(0, 1, &s.sampler);
  context->PSSetShader(s.pixelShader, nullptr, 0);
  context->GSSetShader(s.geometryShader, nullptr, 0);
  context->DSSetShader(s.domainShader, nullptr, 0);
  context->HSSetShader(s.hullShader, nullptr, 0);
  context->VSSetShader(s.vertexShader, nullptr, 0);
  context->IASetVertexBuffers(0, 1, &s.vertexBuffer, &s.vertexStride, &s.vertexOffset);
  context->IASetPrimitiveTopology(s.topology);
  context->IASetInputLayout(s.inputLayout);
  if (s.viewportCount != 0) context->RSSetViewports(s.viewportCount, s.viewports);
  context->RSSetState(s.rasterizerState);
  context->OMSetDepthStencilState(s.depthStencilState, s.stencilRef);
  context->OMSetBlendState(s.blendState, s.blendFactor, s.sampleMask);
  context->OMSetRenderTargets(D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT, s.renderTargets,
                              s.depthStencilView);

  ReleaseAndClear(s.shaderResource);
  ReleaseAndClear(s.sampler);
  ReleaseAndClear(s.pixelShader);
  ReleaseAndClear(s.geometryShader);
  ReleaseAndClear(s.domainShader);
  ReleaseAndClear(s.hullShader);
  ReleaseAndClear(s.vertexShader);
  ReleaseAndClear(s.vertexBuffer);
  ReleaseAndClear(s.inputLayout);
  ReleaseAndClear(s.rasterizerState);
  ReleaseAndClear(s.depthStencilState);
  ReleaseAndClear(s.blendState);
  ReleaseAndClear(s.depthStencilView);
  for (ID3D11RenderTargetView*& target : s.renderTargets) ReleaseAndClear(target);
}

}  // namespace artwheel
