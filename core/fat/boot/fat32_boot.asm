; Boot program of the FAT32 boot sector: sector bytes 90-509, after the BPB.
; Loads reserved sector 12 of the volume to 0000:8000 and continues there when it holds a
; second stage (it ends in 55AA); a zero sector is never run.
        cpu 386
        bits 16
        org 0x7C5A

sector          equ 0x7C00
BPB_HiddSec     equ sector + 28
BS_DrvNum       equ sector + 64
second_stage    equ 0x8000
SECOND_STAGE_SECTOR equ 12

start:
        cli
        xor ax, ax
        mov ss, ax
        mov sp, sector
        mov ds, ax
        mov es, ax
        sti
        cld
        mov dl, [BS_DrvNum]             ; the drive the BPB names, not the one in DL
        mov eax, [BPB_HiddSec]
        add eax, SECOND_STAGE_SECTOR
        mov bx, second_stage
        mov word [second_stage + 510], 0
        call read_sector
        mov al, [message_addresses + 1] ; "Disk error"
        jc .failed
        mov al, [message_addresses]     ; "Remove disks or other media."
        cmp word [second_stage + 510], 0xAA55
        jne .failed
        jmp 0:second_stage
.failed:
        call print
        mov al, [message_addresses + 2] ; "Press any key to restart"
        call print
        xor ax, ax
        int 0x16                        ; wait for a key
        int 0x19

; print: shows the message whose address is 7Dxx, xx in AL; it ends at 0xFF or 0.
print:
        mov ah, 0x7D
        mov si, ax
.next:
        lodsb
        cmp al, 0xFF
        je .end
        test al, al
        jz .end
        mov ah, 0x0E
        mov bx, 7
        int 0x10
        jmp .next
.end:
        ret

%include "disk_read.inc"

        times 368 - 90 - ($ - $$) db 0
loader_name:    db "NTLDR      "
        times 428 - 90 - ($ - $$) db 0
msg_remove:     db 13, 10, "Remove disks or other media.", 0xFF
msg_disk_error: db 13, 10, "Disk error", 0xFF
msg_restart:    db 13, 10, "Press any key to restart", 13, 10
        times 505 - 90 - ($ - $$) db 0
message_addresses:
        db (msg_remove - $$ + 0x7C5A) & 0xFF
        db (msg_disk_error - $$ + 0x7C5A) & 0xFF
        db (msg_restart - $$ + 0x7C5A) & 0xFF
        times 420 - ($ - $$) db 0
