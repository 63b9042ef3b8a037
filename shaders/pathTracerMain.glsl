void main(){uv=gl_FragCoord.xy/u.xy;fs=u.z;c=vec3(uv,.5)+texture(fr,uv).xyz;}
