#include "render/FramePipeline.h"

#include "display/AppFailure.h"

namespace turnlet {

namespace {

const char* const metalUnavailable = "Metal is unavailable on this Mac.";

// The whole rotation as one fragment per target pixel. The exact path reads texels without
// filtering when the turned frame has the target's size; otherwise the frame is aspect-fitted
// with linear filtering and black bars, the left or top bar a whole number of pixels.
const std::string rotationShader = R"(#include <metal_stdlib>
using namespace metal;

struct Parameters {
    uint sw;
    uint sh;
    uint dw;
    uint dh;
    uint turns;
};

struct VertexOutput {
    float4 position [[position]];
};

vertex VertexOutput fullscreenTriangle(uint vid [[vertex_id]]) {
    const float2 corners[3] = { float2(-1.0, -1.0), float2(3.0, -1.0), float2(-1.0, 3.0) };
    VertexOutput out;
    out.position = float4(corners[vid], 0.0, 1.0);
    return out;
}

fragment float4 rotateFrame(VertexOutput in [[stage_in]],
                            texture2d<float, access::sample> source [[texture(0)]],
                            constant Parameters& p [[buffer(0)]]) {
    const bool odd = (p.turns & 1u) != 0u;
    const float2 size = odd ? float2(p.sh, p.sw) : float2(p.sw, p.sh);
    const float2 target = float2(p.dw, p.dh);
    const float scale = min(target.x / size.x, target.y / size.y);
    const float2 origin = floor((target - size * scale) * 0.5);
    const float2 point = (in.position.xy - origin) / scale;
    if (point.x < 0.0 || point.y < 0.0 || point.x >= size.x || point.y >= size.y) {
        return float4(0.0, 0.0, 0.0, 1.0);
    }
    if (p.dw == uint(size.x) && p.dh == uint(size.y)) {
        const uint2 d = uint2(point);
        uint2 s;
        switch (p.turns) {
            case 1u: s = uint2(p.sw - 1u - d.y, d.x); break;
            case 2u: s = uint2(p.sw - 1u - d.x, p.sh - 1u - d.y); break;
            case 3u: s = uint2(d.y, p.sh - 1u - d.x); break;
            default: s = d; break;
        }
        return float4(source.read(s).rgb, 1.0);
    }
    const float2 r = point / size;
    float2 uv;
    switch (p.turns) {
        case 1u: uv = float2(1.0 - r.y, r.x); break;
        case 2u: uv = float2(1.0 - r.x, 1.0 - r.y); break;
        case 3u: uv = float2(r.y, 1.0 - r.x); break;
        default: uv = r; break;
    }
    constexpr sampler linearClamp(coord::normalized, address::clamp_to_edge, filter::linear);
    return float4(source.sample(linearClamp, uv).rgb, 1.0);
}
)";

}  // namespace

const std::string& FramePipeline::shaderSource() { return rotationShader; }

FramePipeline::FramePipeline(Gpu& gpu) {
  auto device = gpu.defaultDevice();
  if (!device) throw AppFailure(metalUnavailable);
  auto commandQueue = device->makeCommandQueue();
  if (!commandQueue) throw AppFailure(metalUnavailable);

  auto library = device->makeLibrary(rotationShader);
  RenderPipelineDescriptor descriptor;
  descriptor.vertexFunction = library->makeFunction("fullscreenTriangle");
  descriptor.fragmentFunction = library->makeFunction("rotateFrame");
  descriptor.colorAttachment0Format = PixelFormat::bgra8Unorm;
  descriptor.blendingEnabled = false;
  auto state = device->makeRenderPipelineState(descriptor);

  auto created = device->makeTextureCache();
  if (created.status != 0 || !created.object)
    throw AppFailure("Could not create a shared capture texture (" + std::to_string(created.status) + ").");

  gpuDevice = std::move(device);
  queue = std::move(commandQueue);
  pipelineState = std::move(state);
  cache = std::move(created.object);
}

std::shared_ptr<CaptureTexture> FramePipeline::encode(const std::shared_ptr<PixelBuffer>& frame, QuarterTurn rotation,
                                                      const std::shared_ptr<Texture>& target, CommandBuffer& command) {
  const std::size_t width = frame ? frame->width() : 0;
  const std::size_t height = frame ? frame->height() : 0;

  auto view = cache->textureFromImage(frame, PixelFormat::bgra8Unorm, width, height, 0);
  std::shared_ptr<Texture> texture = view.object ? view.object->texture() : nullptr;
  if (view.status != 0 || !texture)
    throw AppFailure("Could not read a captured frame as a Metal texture (" + std::to_string(view.status) + ").");

  RenderPassDescriptor pass;
  pass.colorAttachment0.texture = target;
  pass.colorAttachment0.loadAction = LoadAction::clear;
  pass.colorAttachment0.storeAction = StoreAction::store;
  pass.colorAttachment0.clearColor = ClearColor{0, 0, 0, 1};
  auto encoder = target ? command.makeRenderCommandEncoder(pass) : nullptr;
  if (!encoder) throw AppFailure("Could not encode the rotated frame.");

  encoder->setRenderPipelineState(pipelineState);
  encoder->setViewport(Viewport{0, 0, double(target->width()), double(target->height()), 0, 1});
  encoder->setFragmentTexture(texture, 0);
  const Parameters parameters{static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                              static_cast<std::uint32_t>(target->width()), static_cast<std::uint32_t>(target->height()),
                              static_cast<std::uint32_t>(quarterTurnCount(rotation))};
  encoder->setFragmentBytes(&parameters, sizeof parameters, 0);
  encoder->drawPrimitives(PrimitiveType::triangle, 0, 3);
  encoder->endEncoding();
  return std::move(view.object);
}

}  // namespace turnlet
