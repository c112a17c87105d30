#include "render/FramePipeline.h"

#include "display/AppFailure.h"
#include "render/RotateFramePixelSource.h"

namespace turnlet {

namespace {

const char* const metalUnavailable = "Metal is unavailable on this Mac.";

// The whole rotation as one fragment per target pixel (RotateFramePixel.metal). The exact path
// reads texels without filtering when the turned frame has the target's size; otherwise the frame
// is aspect-fitted with linear filtering and black bars, the left or top bar a whole number of
// pixels.
const std::string rotationShader = std::string("#include <metal_stdlib>\nusing namespace metal;\n\n") +
                                   rotateFramePixelSource + R"(
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
    return rotateFramePixel(in.position.xy, source, p);
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
