; Boot program of the FAT12/FAT16 boot sector: sector bytes 62-509, after the BPB.
; Finds "IO      SYS" in the root directory, loads the first four sectors of that file to
; 0070:0200 and starts it there with DL the drive.
        cpu 386
        bits 16
        org 0x7C3E

sector          equ 0x7C00
BPB_SecPerClus  equ sector + 13
BPB_RsvdSecCnt  equ sector + 14
BPB_NumFATs     equ sector + 16
BPB_RootEntCnt  equ sector + 17
BPB_FATSz16     equ sector + 22
BPB_HiddSec     equ sector + 28
BS_DrvNum       equ sector + 36
buffer          equ 0x7E00              ; one root directory sector
system_file     equ 0x0900              ; 0070:0200 as a linear address
ATTR_DIRECTORY_OR_VOLUME_ID equ 0x18

start:
        xor ax, ax
        mov ss, ax                      ; holds off interrupts until SP is set
        mov sp, sector
        mov ds, ax
        mov es, ax
        sti
        cld
        mov al, [BPB_NumFATs]           ; AH is still 0
        mul word [BPB_FATSz16]
        add ax, [BPB_RsvdSecCnt]
        adc dx, 0
        push dx
        push ax
        pop eax
        add eax, [BPB_HiddSec]          ; first root directory sector
        mov bp, [BPB_RootEntCnt]
        add bp, 15
        shr bp, 4                       ; root directory sectors
        mov dl, [BS_DrvNum]             ; the drive the BPB names, not the one in DL
        mov bx, buffer
.sector:
        dec bp
        js invalid                      ; searched every root directory sector
        call read_sector
        jc disk_error
        mov di, bx
.entry:
        cmp byte [di], 0                ; end of the directory
        je invalid
        mov si, system_name
        mov cx, 11
        push di
        repe cmpsb
        pop di
        jne .skip
        test byte [di + 11], ATTR_DIRECTORY_OR_VOLUME_ID
        jz found
.skip:
        add di, 32
        cmp di, buffer + 512
        jb .entry
        inc eax
        jmp .sector

found:
        movzx esi, bp
        inc si
        add esi, eax                    ; the sector after the root directory: cluster 2
        movzx eax, word [di + 26]       ; first cluster
        sub eax, 2
        jb invalid
        movzx ecx, byte [BPB_SecPerClus]
        imul eax, ecx
        add eax, esi
        mov bx, system_file
        mov cx, 4
.load:
        call read_sector
        jc disk_error
        inc eax
        add bh, 2                       ; next 512 bytes
        loop .load
        jmp 0x0070:0x0200

invalid:
        mov si, msg_invalid
        jmp fail
disk_error:
        mov si, msg_io_error
fail:
        call print
        mov si, msg_replace
        call print
        cbw                             ; print leaves AL 0: AH = 0, read a key
        int 0x16
        int 0x19

%include "disk_read.inc"

msg_invalid:    db 13, 10, "Invalid system disk", 0
msg_io_error:   db 13, 10, "Disk I/O error", 0
msg_replace:    db 13, 10, "Replace the disk, and then press any key", 13, 10, 0

        times 472 - 62 - ($ - $$) db 0
system_name:    db "IO      SYS"
                db "MSDOS   SYS"

print:
        lodsb
        test al, al
        jz .end
        mov ah, 0x0E
        xor bx, bx
        int 0x10
        jmp print
.end:
        ret
        times 448 - ($ - $$) db 0
