#version 460
uniform vec3 u;uniform sampler2D fr;out vec4 c;void main(){vec2 uv=gl_FragCoord.xy/u.xy;c=texture(fr,uv)/u.z;c=pow(c,vec4(1/2.2));}