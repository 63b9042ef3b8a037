#version 460
uniform vec3 u;uniform sampler2D fr,lb,st;out vec3 c;vec2 uv;float fs;
