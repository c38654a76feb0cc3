#!/usr/bin/env python3
# Writes the pixels of an 8-bit RGBA PNG as raw, straight RGBA bytes on stdout.
import sys, zlib, struct
def decode(path):
    data = open(path,'rb').read(); assert data[:8]==b'\x89PNG\r\n\x1a\n'
    pos=8; idat=b''; w=h=None
    while pos < len(data):
        n,=struct.unpack('>I',data[pos:pos+4]); t=data[pos+4:pos+8]; c=data[pos+8:pos+8+n]; pos+=12+n
        if t==b'IHDR':
            w,h,bd,ct,_,_,il=struct.unpack('>IIBBBBB',c); assert bd==8 and ct==6 and il==0, (bd,ct,il)
        elif t==b'IDAT': idat+=c
    raw=zlib.decompress(idat); bpp=4; stride=w*bpp; out=bytearray(); prev=bytearray(stride); i=0
    for y in range(h):
        f=raw[i]; i+=1; line=bytearray(raw[i:i+stride]); i+=stride
        for x in range(stride):
            a=line[x-bpp] if x>=bpp else 0; b=prev[x]; cc=prev[x-bpp] if x>=bpp else 0
            if f==1: line[x]=(line[x]+a)&255
            elif f==2: line[x]=(line[x]+b)&255
            elif f==3: line[x]=(line[x]+(a+b)//2)&255
            elif f==4:
                p=a+b-cc; pa,pb,pc=abs(p-a),abs(p-b),abs(p-cc)
                pr=a if pa<=pb and pa<=pc else (b if pb<=pc else cc); line[x]=(line[x]+pr)&255
        out+=line; prev=line
    return bytes(out)
sys.stdout.buffer.write(decode(sys.argv[1]))
