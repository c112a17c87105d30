// What the rotation program shows at one target pixel. This text is both part of the GPU program
// (FramePipeline puts the shading language's header before it and the two stages after it) and
// C++ that a test evaluates against small stand-ins for the shading language's types, so it keeps
// to the ground the two languages share: no attributes, no address spaces, no library includes.

struct Parameters {
    uint sw;
    uint sh;
    uint dw;
    uint dh;
    uint turns;
};

// position: the fragment's window position in target pixels (pixel centres at halves).
float4 rotateFramePixel(float2 position, texture2d<float, access::sample> source, Parameters p) {
    const bool odd = (p.turns & 1u) != 0u;
    const float2 size = odd ? float2(p.sh, p.sw) : float2(p.sw, p.sh);
    const float2 target = float2(p.dw, p.dh);
    const float scale = min(target.x / size.x, target.y / size.y);
    const float2 origin = floor((target - size * scale) * 0.5);
    const float2 point = (position - origin) / scale;
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
