#version 460
uniform vec3 u;uniform sampler2D fr;out vec4 c;void main(){vec2 uv=gl_FragCoord.xy/u.xy;c=pow(texture(fr,uv)/u.z,vec4(1/2.2));}
